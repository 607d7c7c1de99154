#include "ui/account/WanIpPage.h"

#include <QRadioButton>
#include <array>
#include <string_view>

#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/AccountPageSupport.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr std::string_view kNoAddress = "0.0.0.0";

// A pair of radios and what its fixed choice enables: the address controls and their labels.
struct RadioPair {
    int automatic;
    int fixed;
    std::array<int, 4> fields;  // 0 ends the list
};

constexpr std::array<RadioPair, 3> kPairs{{
    {CWanIpPage::kIdIpAuto,
     CWanIpPage::kIdIpFixed,
     {1054, 1055, CWanIpPage::kIdIpAddress, CWanIpPage::kIdSubnetMask}},
    {CWanIpPage::kIdGatewayAuto, CWanIpPage::kIdGatewayFixed, {1056, CWanIpPage::kIdGateway}},
    {CWanIpPage::kIdDnsAuto,
     CWanIpPage::kIdDnsFixed,
     {1057, 1058, CWanIpPage::kIdDnsPrimary, CWanIpPage::kIdDnsSecondary}},
}};

constexpr int kLabelIds[] = {1054, 1055, 1056, 1057, 1058};

// "0.0.0.0" stands for no address and is remembered as empty.
void RememberAddress(char (&dst)[kRememberedSize], std::string_view text) {
    CopyText(dst, text == kNoAddress ? std::string_view("") : text);
}

}  // namespace

CWanIpPage::CWanIpPage(const QString& bitmapPath, int isMerMode, QWidget* owner)
    : CRecordPage(kTemplateWanIp, bitmapPath, owner), m_isMerMode(isMerMode) {
    for (const RadioPair& pair : kPairs) {
        for (int id : {pair.automatic, pair.fixed}) {
            connect(qobject_cast<QRadioButton*>(Control(id)), &QAbstractButton::clicked, this,
                    [this, id] { OnRadio(id); });
        }
    }
}

void CWanIpPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
    for (int id : kLabelIds) Control(id)->setFont(LabelFont());

    if (m_isMerMode) {
        Control(kIdIpAuto)->setEnabled(true);
        Check(kIdIpAuto);
    } else {
        // IPoA has no automatic address.
        Control(kIdIpAuto)->setEnabled(false);
        Check(kIdIpFixed);
    }
    Check(kIdGatewayAuto);
    Check(kIdDnsAuto);

    const SessionFields& session = Session();
    if (TextOf(session.enblDhcpClntSaved) == "0") Check(kIdIpFixed);
    if (TextOf(session.enblAutoSaved) == "0") Check(kIdGatewayFixed);
    if (TextOf(session.dnsDynamicSaved) == "0") Check(kIdDnsFixed);
    const std::pair<int, std::string_view> addresses[] = {
        {kIdIpAddress, TextOf(session.wanIpAddressSaved)},
        {kIdSubnetMask, TextOf(session.wanSubnetMaskSaved)},
        {kIdGateway, TextOf(session.defaultGatewaySaved)},
        {kIdDnsPrimary, TextOf(session.dnsPrimarySaved)},
        {kIdDnsSecondary, TextOf(session.dnsSecondarySaved)},
    };
    for (const auto& [id, text] : addresses) {
        if (!text.empty()) SetControlText(*this, id, text);
    }
}

bool CWanIpPage::IsChecked(int id) const {
    const auto* radio = qobject_cast<QRadioButton*>(Control(id));
    return radio != nullptr && radio->isChecked();
}

void CWanIpPage::Check(int id) {
    // The radios of a pair exclude each other, so this also unchecks the partner.
    if (auto* radio = qobject_cast<QRadioButton*>(Control(id))) radio->setChecked(true);
    OnRadio(id);
}

void CWanIpPage::OnRadio(int id) {
    for (const RadioPair& pair : kPairs) {
        if (id != pair.automatic && id != pair.fixed) continue;
        for (int field : pair.fields) {
            if (field != 0) Control(field)->setEnabled(id == pair.fixed);
        }
    }
}

std::string CWanIpPage::AddressText(int id) const {
    const auto* address = qobject_cast<IpAddressEdit*>(Control(id));
    if (address == nullptr || address->isBlank()) return {};
    return address->text().toStdString();
}

int CWanIpPage::StoreEntries(int isMerMode, int validate) {
    SessionFields& session = Session();
    WanIpAccount& wan = m_session.account.wanIp;
    const WanIpEntries e{IsChecked(kIdIpAuto) && isMerMode, AddressText(kIdIpAddress),
                         AddressText(kIdSubnetMask),        IsChecked(kIdGatewayAuto),
                         AddressText(kIdGateway),           IsChecked(kIdDnsAuto),
                         AddressText(kIdDnsPrimary),        AddressText(kIdDnsSecondary)};

    // Each section is stored once its checks have passed.
    if (e.automaticAddress) {
        if (validate) wan.enblDhcpClnt = 1;
        CopyText(session.enblDhcpClntSaved, "1");
    } else {
        const std::string& address = e.address;
        const std::string& mask = e.mask;
        if (validate) {
            if (const FormCheck failure = CheckWanAddressSection(e)) return Refuse(*failure);
            wan.enblDhcpClnt = 0;
            CopyText(wan.wanIpAddress, address);
            CopyText(wan.wanSubnetMask, mask);
        }
        CopyText(session.enblDhcpClntSaved, "0");
        RememberAddress(session.wanIpAddressSaved, address);
        RememberAddress(session.wanSubnetMaskSaved, mask);
    }

    if (e.automaticGateway) {
        if (validate) wan.enblAuto = 1;
        CopyText(session.enblAutoSaved, "1");
    } else {
        const std::string& gateway = e.gateway;
        if (validate) {
            if (const FormCheck failure = CheckWanGatewaySection(e)) return Refuse(*failure);
            wan.enblAuto = 0;
            CopyText(wan.defaultGateway, gateway);
        }
        CopyText(session.enblAutoSaved, "0");
        RememberAddress(session.defaultGatewaySaved, gateway);
    }

    if (e.automaticDns) {
        if (validate) wan.dnsDynamic = 1;
        CopyText(session.dnsDynamicSaved, "1");
    } else {
        const std::string& primary = e.dnsPrimary;
        std::string secondary = e.dnsSecondary;
        if (validate) {
            if (const FormCheck failure = CheckWanDnsSection(e)) return Refuse(*failure);
            // The secondary server is optional; none is sent as "0.0.0.0".
            if (secondary.empty()) secondary = kNoAddress;
            wan.dnsDynamic = 0;
            CopyText(wan.dnsPrimary, primary);
            CopyText(wan.dnsSecondary, secondary);
        }
        CopyText(session.dnsDynamicSaved, "0");
        RememberAddress(session.dnsPrimarySaved, primary);
        RememberAddress(session.dnsSecondarySaved, secondary);
    }
    return 0;
}

void CWanIpPage::OnNext() {
    if (StoreEntries(m_isMerMode, 1) != 0) return;
    OpenStep(WizardStep::AccountNext, this, &m_session);
}

void CWanIpPage::OnBack() {
    StoreEntries(m_isMerMode, 0);
    CWizardPage::OnBack();
}
