#pragma once

#include <string>

#include "ui/wizard/RecordPage.h"

// The WAN addresses for "Dynamic/Static IP (Bridge)" (MER) and "Static IP (IPoA)": address and
// mask, default gateway and DNS servers, each either obtained automatically or typed into the
// address controls. In IPoA mode the address cannot be obtained automatically. Next checks and
// stores the three sections in order and opens the wireless page with a copy of the record.
class CWanIpPage final : public CRecordPage {
    Q_OBJECT

public:
    static constexpr int kIdIpAuto = 1029;
    static constexpr int kIdIpFixed = 1030;
    static constexpr int kIdGatewayAuto = 1031;
    static constexpr int kIdGatewayFixed = 1032;
    static constexpr int kIdDnsAuto = 1033;
    static constexpr int kIdDnsFixed = 1034;
    static constexpr int kIdIpAddress = 1040;
    static constexpr int kIdSubnetMask = 1041;
    static constexpr int kIdGateway = 1036;
    static constexpr int kIdDnsPrimary = 1028;
    static constexpr int kIdDnsSecondary = 1035;

    // isMerMode: 1 for protocol code 2 (MER), 0 for code 5 (IPoA).
    CWanIpPage(const QString& bitmapPath, int isMerMode, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CWanIpPage)

    void OnNext() override;
    void OnBack() override;
    // Runs the enable rule of a radio: the automatic one of a pair disables its fields and their
    // labels, the fixed one enables them.
    void OnRadio(int id);
    // Sections IP, gateway, DNS in this order; with validate, the first failure shows its
    // message, focuses its control and returns 1, leaving the sections before it stored.
    // Without validate only the remembered entries are written. 0 = stored.
    int StoreEntries(int isMerMode, int validate);

    bool IsMerMode() const { return m_isMerMode != 0; }

protected:
    void OnInitDialog() override;

private:
    bool IsChecked(int id) const;
    void Check(int id);
    // The text of an address control; a blank control gives an empty text.
    std::string AddressText(int id) const;
    // 0 when the address (isMask 0) or mask (1) is there and valid; otherwise the message has
    // been shown and the control focused.
    int CheckAddress(const std::string& text, int id, int isMask);

    int m_isMerMode;
};
