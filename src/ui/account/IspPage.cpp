#include "ui/account/IspPage.h"

#include <QComboBox>
#include <QLineEdit>
#include <cstdio>

#include "core/account/IspPresetCatalogue.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "resources/StringTable.h"
#include "ui/account/AccountPageSupport.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr int kVpiChars = 3;
constexpr int kVciChars = 5;
constexpr int kLabelIds[] = {1079, 1080, 1081, 1082, 1083, 1084};

void RememberNumber(char (&dst)[kRememberedSize], int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    CopyText(dst, text);
}

QString ListText(const char* text) {
    return QString::fromUtf8(text ? text : "");
}

}  // namespace

CIspPage::CIspPage(const QString& bitmapPath, QWidget* owner)
    : CRecordPage(kTemplateIsp, bitmapPath, owner) {
    // Only choices made by the user run the handlers, not the selections made while filling.
    connect(List(kIdCountry), &QComboBox::activated, this, [this] { OnSelchangeCountry(); });
    connect(List(kIdIsp), &QComboBox::activated, this, [this] { OnSelchangeIsp(); });
    connect(List(kIdProtocol), &QComboBox::activated, this, [this] { OnSelchangeProtocol(); });
    qobject_cast<QLineEdit*>(Control(kIdVpi))->setMaxLength(kVpiChars);
    qobject_cast<QLineEdit*>(Control(kIdVci))->setMaxLength(kVciChars);
}

QComboBox* CIspPage::List(int id) const {
    return qobject_cast<QComboBox*>(Control(id));
}

void CIspPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
    for (int id : kLabelIds) Control(id)->setFont(LabelFont());

    QComboBox* country = List(kIdCountry);
    country->clear();
    country->insertItem(0, ListText(LoadResString(kStrOtherCountry)));
    for (int i = 1; i < IspPresetCatalogue::CountryCount(); ++i) {
        country->insertItem(i, ListText(IspPresetCatalogue::CountryName(i)));
    }
    country->setCurrentIndex(0);

    QComboBox* isp = List(kIdIsp);
    isp->clear();
    isp->insertItem(0, ListText(LoadResString(kStrOtherIsp)));
    isp->setCurrentIndex(0);

    QComboBox* protocol = List(kIdProtocol);
    protocol->clear();
    for (int i = 0; i < kProtocolEntryCount; ++i) {
        protocol->insertItem(i, ListText(LoadResString(kStrFirstProtocol + i)));
    }
    protocol->setCurrentIndex(0);

    SessionFields& session = Session();
    int encapEntry = 0;
    if (session.ntwkPrtclSaved[0] != '\0') {
        const int entry =
            ProtocolEntryForCode(static_cast<int>(DecimalValue(session.ntwkPrtclSaved)));
        if (entry >= 0) protocol->setCurrentIndex(entry);
    }
    if (session.encapModeSaved[0] != '\0')
        encapEntry = static_cast<int>(DecimalValue(session.encapModeSaved));
    if (session.atmVciSaved[0] != '\0') SetControlText(*this, kIdVci, TextOf(session.atmVciSaved));
    if (session.atmVpiSaved[0] != '\0') SetControlText(*this, kIdVpi, TextOf(session.atmVpiSaved));

    RefreshEncapsulationList();
    List(kIdEncapsulation)->setCurrentIndex(encapEntry);
}

void CIspPage::RefreshEncapsulationList() {
    const int protocolEntry = List(kIdProtocol)->currentIndex();
    QComboBox* encapsulation = List(kIdEncapsulation);
    encapsulation->clear();
    for (int i = 0; i < kEncapsulationEntryCount; ++i) {
        encapsulation->insertItem(i, ListText(EncapsulationText(protocolEntry, i)));
    }
    m_nProtocolCode = ProtocolCodeForEntry(protocolEntry);
    encapsulation->setCurrentIndex(0);
}

void CIspPage::OnSelchangeProtocol() {
    RefreshEncapsulationList();
}

void CIspPage::OnSelchangeCountry() {
    const int country = List(kIdCountry)->currentIndex();
    QComboBox* isp = List(kIdIsp);
    isp->clear();
    if (country == 0) {
        isp->insertItem(0, ListText(LoadResString(kStrOtherIsp)));
    } else {
        for (int i = 0; i < IspPresetCatalogue::ProviderCount(country); ++i) {
            isp->insertItem(i, ListText(IspPresetCatalogue::ProviderName(country, i)));
        }
    }
    isp->setCurrentIndex(0);
    OnSelchangeIsp();
}

void CIspPage::OnSelchangeIsp() {
    IspPreset preset{};
    if (!IspPresetCatalogue::Preset(List(kIdCountry)->currentIndex(), List(kIdIsp)->currentIndex(),
                                    &preset)) {
        return;
    }
    // The encapsulation entry is chosen only once its list has been rebuilt for the protocol.
    SetControlText(*this, kIdVpi, preset.vpi);
    SetControlText(*this, kIdVci, preset.vci);
    List(kIdProtocol)->setCurrentIndex(preset.protocolEntry);
    RefreshEncapsulationList();
    List(kIdEncapsulation)->setCurrentIndex(preset.encapEntry);
}

int CIspPage::StoreEntries(int validate) {
    const std::string vci = ControlText(*this, kIdVci);
    const std::string vpi = ControlText(*this, kIdVpi);
    SessionFields& session = Session();

    if (validate) {
        if (const FormCheck failure = CheckIsp({vpi, vci})) {
            // An out-of-range value is erased from its edit; an empty one has nothing to erase.
            if (failure->message != FormMessage::EmptyValue)
                SetControlText(*this, failure->control, "");
            return Refuse(*failure);
        }

        // Every accepted Next starts the later pages from a record holding only these four.
        m_session = WizardSession{};
        m_session.ntwkPrtcl = static_cast<std::uint32_t>(m_nProtocolCode);
        m_session.encapMode = static_cast<std::uint32_t>(List(kIdEncapsulation)->currentIndex());
        m_session.atmVci = static_cast<std::uint32_t>(DecimalValue(vci));
        m_session.atmVpi = static_cast<std::uint32_t>(DecimalValue(vpi));
    }

    RememberNumber(session.ntwkPrtclSaved, m_nProtocolCode);
    RememberNumber(session.encapModeSaved, List(kIdEncapsulation)->currentIndex());
    Remember(session.atmVciSaved, vci);
    Remember(session.atmVpiSaved, vpi);
    return 0;
}

void CIspPage::OnNext() {
    if (StoreEntries(1) != 0) return;
    OpenNextPage();
}

void CIspPage::OpenNextPage() {
    switch (m_nProtocolCode) {
        case kProtocolPppoe:
            OpenStep(WizardStep::IspNextPppoe, this, &m_session);
            break;
        case kProtocolPppoa:
            OpenStep(WizardStep::IspNextPppoa, this, &m_session);
            break;
        case kProtocolMer:
            OpenStep(WizardStep::IspNextMer, this, &m_session);
            break;
        case kProtocolIpoa:
            OpenStep(WizardStep::IspNextIpoa, this, &m_session);
            break;
        case kProtocolBridging:
            OpenStep(WizardStep::IspNextBridging, this, &m_session);
            break;
        default:
            break;
    }
}

void CIspPage::OnBack() {
    StoreEntries(0);
    CWizardPage::OnBack();
}
