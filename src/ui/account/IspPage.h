#pragma once

#include "core/account/AccountChecks.h"
#include "ui/wizard/RecordPage.h"

class QComboBox;

// Country and provider, and the four ATM settings the provider needs: WAN protocol,
// encapsulation, VPI and VCI. The first page that writes the settings record: an accepted Next
// starts it afresh from zero, and the protocol decides which page follows (the PPP account page,
// the WAN address page, or the wireless page directly for Bridging).
class CIspPage final : public CRecordPage, public IspForm {
    Q_OBJECT

public:
    CIspPage(const QString& bitmapPath, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CIspPage)

    void OnNext() override;
    void OnBack() override;

    // A country choice fills the provider list and applies the first provider's preset.
    void OnSelchangeCountry();
    // Applies the chosen provider's preset; country "Other" changes nothing.
    void OnSelchangeIsp();
    void OnSelchangeProtocol();
    // Rebuilds the two-entry encapsulation list for the selected protocol, sets the protocol
    // code and selects entry 0.
    void RefreshEncapsulationList();
    // validate 1 (Next): checks, then zero-fills the record and sets the four ATM fields.
    // validate 0 (Back): only the remembered entries. Both write those. 0 = stored, 1 = refused.
    int StoreEntries(int validate);

    int ProtocolCode() const { return m_nProtocolCode; }

protected:
    void OnInitDialog() override;

private:
    QComboBox* List(int id) const;
    void OpenNextPage();

    int m_nProtocolCode = 0;
};
