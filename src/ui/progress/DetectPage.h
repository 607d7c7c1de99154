#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "ui/progress/ProgressPage.h"
#include "ui/wizard/WizardPage.h"

struct ProgressSettings;

// Finds the modem: a worker runs the detection while a timer creeps the bar by 1 per tick. On
// success the found-modem page replaces this page (on this page's owner); on failure or when the
// bar has reached 100 the page shows the not-detected message and goes back to its owner.
class CDetectPage final : public ProgressPage<CWizardPage> {
    Q_OBJECT

public:
    static constexpr int kTimerMs = 720;
    static constexpr int kSuccessPauseMs = 50;
    static constexpr int kFailurePauseMs = 1;

    CDetectPage(const QString& bitmapPath, QWidget* owner);
    ~CDetectPage() override;
    Q_DISABLE_COPY_MOVE(CDetectPage)

    // Lets go of the worker (it is not stopped) and ends the page.
    void OnClose() override;

protected:
    void OnInitDialog() override;

private:
    void OnTimer() override;
    void Succeed();
    void GiveUp();

    int m_nProgressStep = 1;
    // True from the start of the worker until the page closes; the worker holds a share.
    std::shared_ptr<std::atomic<bool>> m_open = std::make_shared<std::atomic<bool>>(false);
};

// The detection worker's procedure: DetectModem with the system's adapters and processes and the
// helper in helperDirectory, writing only session fields. While *pageOpen, a candidate that
// accepted but failed the LAN test costs one plain not-detected box, shown by the UI thread; the
// worker waits until it has been dismissed. 0 when the modem was found, else 1.
int DetectModemWorker(const std::string& helperDirectory, const ProgressSettings& settings,
                      std::shared_ptr<const std::atomic<bool>> pageOpen);
