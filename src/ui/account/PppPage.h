#pragma once

#include "core/account/AccountChecks.h"
#include "ui/wizard/RecordPage.h"

// The PPP account for PPPoE and PPPoA: user name, password, for PPPoE an optional service name,
// and an optional fixed local address. Next checks the entries, writes the PPP fields of the
// record and the remembered entries, and opens the wireless page with a copy of the record.
//
// The limits are byte limits of the UTF-8 text the modem gets (user name 256, password and
// service name 32): a longer text is refused with "Bad value type!", never shortened, and so is
// a text the request cannot carry ("&" or a control byte). The boxes, the fixed address and the
// texts are remembered, so a page built again offers the same settings.
class CPppPage final : public CRecordPage, public PppForm {
    Q_OBJECT

public:
    // bPppoe: 1 PPPoE (service name offered), 0 PPPoA.
    CPppPage(const QString& bitmapPath, int bPppoe, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CPppPage)

    void OnNext() override;
    void OnBack() override;
    // Each box shows and enables its field exactly while it is checked.
    void OnCheckServiceName();
    void OnCheckStaticIp();
    // validate 1 (Next): checks and writes the record, then the remembered entries; validate 0
    // (Back): only the remembered entries. 0 = stored, 1 = refused (a message was shown).
    int StoreEntries(int validate);

    bool IsPppoe() const { return m_bPppoe != 0; }

protected:
    void OnInitDialog() override;

private:
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    void ShowField(int boxId, int fieldId);

    int m_bPppoe;
};
