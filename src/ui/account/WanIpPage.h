#pragma once

#include <string>

#include "core/account/AccountChecks.h"
#include "ui/wizard/RecordPage.h"

// The WAN addresses for "Dynamic/Static IP (Bridge)" (MER) and "Static IP (IPoA)": address and
// mask, default gateway and DNS servers, each either obtained automatically or typed into the
// address controls. In IPoA mode the address cannot be obtained automatically. Next checks and
// stores the three sections in order and opens the wireless page with a copy of the record.
class CWanIpPage final : public CRecordPage, public WanIpForm {
    Q_OBJECT

public:
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

    int m_isMerMode;
};
