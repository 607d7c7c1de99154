#pragma once

#include "ui/progress/ProgressPage.h"
#include "ui/wizard/RecordPage.h"

struct ProgressSettings;

// Sends the settings record to the modem: a worker sends the WAN request and then the wireless
// request while a timer moves the bar by 2 per second. On success the Internet test page
// replaces this page (on the wireless page); on any failure or when the bar has reached 100 the
// page shows the write-failed message and restores the wireless page with wParam 1, so that its
// next Next sends the settings again.
class CApplyPage final : public ProgressPage<CRecordPage> {
    Q_OBJECT

public:
    static constexpr int kTimerMs = 1000;
    static constexpr int kFillPauseMs = 200;
    static constexpr int kProgressStep = 2;

    CApplyPage(const QString& bitmapPath, QWidget* owner);
    ~CApplyPage() override;
    Q_DISABLE_COPY_MOVE(CApplyPage)

protected:
    void OnInitDialog() override;

private:
    void OnTimer() override;
    void Succeed();
    void GiveUp(int code);
    // The message of every apply failure, owned by this page.
    void ShowApplyError(int code);
};

// The apply worker's procedure: BuildAndSendSettings on the worker's own copy of the record,
// then applyFinished = 1 whatever the result. Returns that result.
int ApplySettingsWorker(const WizardSession& record, const ProgressSettings& settings);
