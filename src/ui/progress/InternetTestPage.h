#pragma once

#include <QElapsedTimer>
#include <string>
#include <string_view>

#include "ui/progress/ProgressPage.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/WizardPage.h"

struct ProgressSettings;
struct SessionFields;

// Asks the modem to test its Internet connection: a worker waits for the modem's answer while
// the bar moves about 1 per second. On success the final page replaces this page; on failure or
// when the bar has reached 100 the page shows the message of the result code and unwinds seven
// pages, so that the seventh page beneath it is shown again.
class CInternetTestPage final : public ProgressPage<CWizardPage> {
    Q_OBJECT

public:
    static constexpr int kTimerMs = 720;
    static constexpr int kStepPauseMs = 50;
    static constexpr int kLastPauseMs = 200;
    static constexpr int kUnwindLevels = 7;

    CInternetTestPage(const QString& bitmapPath, QWidget* owner);
    ~CInternetTestPage() override;
    Q_DISABLE_COPY_MOVE(CInternetTestPage)

protected:
    void OnInitDialog() override;

private:
    void OnTimer() override;
    void Succeed();
    void GiveUp(int code);
    // The message of a result code (WorkerThread::kStillActive for the time-out), owned by this
    // page.
    void ShowTestResult(int code);

    QElapsedTimer m_clock;    // since the page started its timer
    qint64 m_nextTickMs = 0;  // when the next tick falls due on m_clock
};

struct TestResultMessage {
    std::string_view text;  // one of the message fields of fields
    MessageIcon icon;
};

// The message and icon shown for a test result code other than 0.
TestResultMessage TestResultMessageFor(int code, const SessionFields& fields);

// The Internet test worker's procedure: the test with this timeout against the modem's address;
// internetConnected = 1 when the modem reports success. Returns the result code, 1 in place of
// a modem code equal to WorkerThread::kStillActive.
int InternetTestWorker(const std::string& modemAddress, int timeout,
                       const ProgressSettings& settings);
