#pragma once

#include <QColor>
#include <array>
#include <cstdint>
#include <memory>
#include <thread>

#include "core/protocol/ExchangeLimits.h"
#include "core/wireless/WirelessChecks.h"
#include "ui/wizard/RecordPage.h"

class QComboBox;
class QEventLoop;
class QLineEdit;
class CByteLimitValidator;
struct WirelessReadOutcome;

// The wireless settings page: network name, channel, security mode and keys. It opens with the
// remembered entries or, when nothing is remembered, with what the modem reports; Next checks
// and stores the entries, then opens the apply page, or the Internet test page directly when
// these settings have been applied already.
class CWirelessPage final : public CRecordPage, public WirelessForm {
    Q_OBJECT

public:
    // m_nLastAuthMode before the controls were first arranged.
    static constexpr int kNotArranged = 4;
    static constexpr int kCreatedWpaKeyLength = 8;

    // limits bound the read of the modem's settings when the page opens.
    CWirelessPage(const QString& bitmapPath, QWidget* owner,
                  const ExchangeLimits& limits = kDefaultLimits);
    ~CWirelessPage() override;
    Q_DISABLE_COPY_MOVE(CWirelessPage)

    // validate 1 (Next): check, then store in the record and the remembered entries; 0 when
    // accepted, 1 when rejected (the first failure is shown and its field gets the focus).
    // validate 0 (Back): only the remembered entries, without checks.
    int StoreEntries(int validate);
    // Shows the controls of the selected security mode and key number and sets the key limits.
    void UpdateSecurityControls();
    void ShowAllSecurityControls();

    void OnNext() override;
    void OnBack() override;
    // wParam 0: these settings have been applied (Next goes to the Internet test); 1: they were
    // not (Next applies again).
    long OnWizardReshow(std::uintptr_t wParam) override;

    void OnCreateKey1() { CreateWepKey(0); }
    void OnCreateKey2() { CreateWepKey(1); }
    void OnCreateKey3() { CreateWepKey(2); }
    void OnCreateKey4() { CreateWepKey(3); }
    void OnCreateWpaKey();

    bool Applied() const { return m_bApplied != 0; }
    // Entry 0: the pre-shared key; 1..4: WEP keys 1 to 4. True while drawn highlighted.
    bool KeyError(int entry) const { return m_keyError.at(static_cast<std::size_t>(entry)) != 0; }

protected:
    void OnInitDialog() override;

private:
    QComboBox* List(int id) const;
    QLineEdit* Edit(int id) const;
    void CreateWepKey(int key);
    // The change handler of key field entry (0 pre-shared key, 1..4 WEP keys).
    void OnUpdateKey(int entry);
    // The text background of a key field follows its error flag.
    void PaintKeyField(int entry);
    void SetKeyError(int entry, bool on);
    // Shows the row (label, field, Create Key) of WEP key 0..3 in the place all four share.
    void ShowKeyRow(int key);
    // Refuses a key: the key is highlighted and its row shown, then the message and the focus.
    int RefuseKey(const FormFailure& failure);

    // Reads the modem's settings off the user-interface thread and returns when the read has
    // ended; the page is not shown meanwhile, and the window below keeps painting.
    unsigned ReadModemSettings(bool& exchanged);
    // Called through the event queue, with nothing of ours in it: the outcome waits in
    // m_readOutcome, which the page reads after joining the reader, so the thread sanitizer,
    // which cannot see the queue's lock, sees the hand-over too.
    Q_INVOKABLE void OnReadFinished();

    std::array<std::uint32_t, 5> m_keyError{};
    const QColor m_clrNormal{255, 255, 255};
    const QColor m_clrError{255, 0, 0};
    std::array<CByteLimitValidator*, 4> m_keyLimits{};
    std::uint32_t m_bApplied = 0;
    int m_nLastAuthMode = kNotArranged;

    const ExchangeLimits m_limits;
    std::thread m_reader;
    QEventLoop* m_readLoop = nullptr;
    bool m_readFinished = false;
    std::shared_ptr<const WirelessReadOutcome> m_readOutcome;  // written by the reader
};
