#include "ui/account/PppPage.h"

#include <QCheckBox>
#include <QLineEdit>

#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/AccountPageSupport.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr int kIdUserNameLabel = 1085;
constexpr int kIdPasswordLabel = 1086;

void LimitEdit(CWizardPage& page, int id, int characters) {
    if (auto* edit = qobject_cast<QLineEdit*>(page.Control(id))) edit->setMaxLength(characters);
}

}  // namespace

CPppPage::CPppPage(const QString& bitmapPath, int bPppoe, QWidget* owner)
    : CRecordPage(kTemplatePpp, bitmapPath, owner), m_bPppoe(bPppoe) {
    // Typing stops at these many characters; the byte limits are checked on Next.
    LimitEdit(*this, kIdPassword, kMaxPasswordBytes);
    LimitEdit(*this, kIdServiceName, kMaxServiceNameBytes);
    LimitEdit(*this, kIdUserName, kMaxUserNameBytes);
    connect(qobject_cast<QCheckBox*>(Control(kIdServiceNameBox)), &QAbstractButton::clicked, this,
            [this] { OnCheckServiceName(); });
    connect(qobject_cast<QCheckBox*>(Control(kIdStaticIpBox)), &QAbstractButton::clicked, this,
            [this] { OnCheckStaticIp(); });
}

void CPppPage::OnInitDialog() {
    for (int id : {kIdUserNameLabel, kIdPasswordLabel, kIdStaticIpBox, kIdServiceNameBox}) {
        Control(id)->setFont(LabelFont());
    }
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);

    // The boxes come back as they were left, each with its field shown when it is ticked.
    const SessionFields& session = Session();
    const bool staticIp = TextOf(session.useStaticIpAddressSaved) == "1";
    SetChecked(kIdStaticIpBox, staticIp);
    if (m_bPppoe) {
        SetChecked(kIdServiceNameBox, TextOf(session.useServiceNameSaved) == "1");
        Control(kIdServiceNameBox)->show();
        Control(kIdServiceName)->show();
        OnCheckServiceName();
        Control(kIdStaticIpBox)->show();
        Control(kIdStaticIp)->show();
        OnCheckStaticIp();
    } else {
        Control(kIdServiceNameBox)->hide();
        Control(kIdServiceName)->hide();
        Control(kIdStaticIp)->hide();
        if (staticIp) OnCheckStaticIp();
    }

    if (session.pppLocalIpAddressSaved[0] != '\0') {
        SetControlText(*this, kIdStaticIp, TextOf(session.pppLocalIpAddressSaved));
    }
    if (session.pppUserNameSaved[0] != '\0') {
        SetControlText(*this, kIdUserName, TextOf(session.pppUserNameSaved));
    }
    if (session.pppPasswordSaved[0] != '\0') {
        SetControlText(*this, kIdPassword, TextOf(session.pppPasswordSaved));
    }
    if (m_bPppoe && session.pppServerNameSaved[0] != '\0') {
        SetControlText(*this, kIdServiceName, TextOf(session.pppServerNameSaved));
    }
}

bool CPppPage::IsChecked(int id) const {
    const auto* box = qobject_cast<QCheckBox*>(Control(id));
    return box != nullptr && box->isChecked();
}

void CPppPage::SetChecked(int id, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(Control(id))) box->setChecked(checked);
}

void CPppPage::ShowField(int boxId, int fieldId) {
    const bool checked = IsChecked(boxId);
    QWidget* field = Control(fieldId);
    field->setVisible(checked);
    field->setEnabled(checked);
}

void CPppPage::OnCheckServiceName() {
    ShowField(kIdServiceNameBox, kIdServiceName);
}

void CPppPage::OnCheckStaticIp() {
    ShowField(kIdStaticIpBox, kIdStaticIp);
}

int CPppPage::StoreEntries(int validate) {
    const std::string userName = ControlText(*this, kIdUserName);
    const std::string password = ControlText(*this, kIdPassword);
    const std::string serviceName = ControlText(*this, kIdServiceName);
    const std::string address = ControlText(*this, kIdStaticIp);  // "0.0.0.0" when blank
    const auto* addressEdit = qobject_cast<const IpAddressEdit*>(Control(kIdStaticIp));
    const bool addressBlank = addressEdit == nullptr || addressEdit->isBlank();
    SessionFields& session = Session();
    PppAccount& ppp = m_session.account.ppp;

    if (validate) {
        const PppEntries entries{userName,
                                 password,
                                 IsChecked(kIdServiceNameBox),
                                 serviceName,
                                 IsChecked(kIdStaticIpBox),
                                 address};
        if (const FormCheck failure = CheckPppAccount(entries)) return Refuse(*failure);
        // These two stay in the record even when a later check refuses the page.
        CopyText(ppp.pppUserName, userName);
        CopyText(ppp.pppPassword, password);
        if (const FormCheck failure = CheckPppServiceName(entries)) return Refuse(*failure);
        // Unchecked, the service name keeps what the record held.
        if (entries.useServiceName) CopyText(ppp.pppServerName, serviceName);
        if (const FormCheck failure = CheckPppStaticIp(entries)) return Refuse(*failure);
        if (entries.useStaticIp) {
            CopyText(ppp.pppLocalIpAddress, address);
            ppp.useStaticIpAddress = 1;
        } else {
            ppp.useStaticIpAddress = 0;
        }
    }

    // The service name is remembered whatever its box says.
    Remember(session.pppUserNameSaved, userName);
    Remember(session.pppPasswordSaved, password);
    Remember(session.pppServerNameSaved, serviceName);
    CopyText(session.useServiceNameSaved, IsChecked(kIdServiceNameBox) ? "1" : "0");
    CopyText(session.useStaticIpAddressSaved, IsChecked(kIdStaticIpBox) ? "1" : "0");
    Remember(session.pppLocalIpAddressSaved, addressBlank ? std::string() : address);
    return 0;
}

void CPppPage::OnNext() {
    if (StoreEntries(1) != 0) return;
    OpenStep(WizardStep::AccountNext, this, &m_session);
}

void CPppPage::OnBack() {
    StoreEntries(0);
    CWizardPage::OnBack();
}
