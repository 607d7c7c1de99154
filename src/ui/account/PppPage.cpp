#include "ui/account/PppPage.h"

#include <QCheckBox>
#include <QLineEdit>

#include "core/account/CheckIpText.h"
#include "core/protocol/RequestValue.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "resources/StringTable.h"
#include "ui/account/AccountPageSupport.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr int kIdUserNameLabel = 1085;
constexpr int kIdPasswordLabel = 1086;

bool Exceeds(const std::string& text, int bytes) {
    return text.size() > static_cast<std::size_t>(bytes);
}

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
        Control(id)->setFont(PageLabelFont());
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
        const auto refuse = [&](const char* message, int id) {
            ShowPageMessage(*this, message);
            FocusControl(*this, id);
            return 1;
        };
        if (userName.empty()) return refuse(session.msgEmptyValue, kIdUserName);
        if (password.empty()) return refuse(session.msgEmptyValue, kIdPassword);
        if (Exceeds(userName, kMaxUserNameBytes)) {
            refuse(session.msgBadValueType, kIdUserName);
            ShowPageMessage(*this, LoadResString(kStrNameTooLong), MessageIcon::None);
            return 1;
        }
        if (Exceeds(password, kMaxPasswordBytes)) {
            return refuse(session.msgBadValueType, kIdPassword);
        }
        // "&" or a control byte cannot travel in the request: the entry stays as typed.
        if (!IsCarriableValue(userName)) return refuse(session.msgBadValueType, kIdUserName);
        if (!IsCarriableValue(password)) return refuse(session.msgBadValueType, kIdPassword);
        // These two stay in the record even when a later check refuses the page.
        CopyText(ppp.pppUserName, userName);
        CopyText(ppp.pppPassword, password);

        // Unchecked, the service name keeps what the record held.
        if (IsChecked(kIdServiceNameBox)) {
            if (serviceName.empty()) return refuse(session.msgEmptyValue, kIdServiceName);
            if (Exceeds(serviceName, kMaxServiceNameBytes) || !IsCarriableValue(serviceName)) {
                return refuse(session.msgBadValueType, kIdServiceName);
            }
            CopyText(ppp.pppServerName, serviceName);
        }
        if (IsChecked(kIdStaticIpBox)) {
            if (CheckIpText(address.c_str(), 0) != 0) {
                return refuse(session.msgBadValueType, kIdStaticIp);
            }
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
