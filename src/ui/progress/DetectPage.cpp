#include "ui/progress/DetectPage.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "detection/ModemDetection.h"
#include "detection/adapters/NetworkAdapters.h"
#include "detection/processes/ProcessService.h"
#include "ui/progress/ProgressRun.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/WizardContext.h"
#include "ui/wizard/WizardMessage.h"

namespace {

void Show(std::string_view text, MessageIcon icon, QWidget* owner = nullptr) {
    if (MessageBoxService* boxes = CurrentContext().messageBox) boxes->Show(owner, text, icon);
}

void ShowNotDetected(QWidget* owner, MessageIcon icon) {
    Show(TextOf(Session().msgModemNotDetected), icon, owner);
}

// The plain boxes detection workers ask for, shown by the UI thread. A worker leaves its request
// under a lock of ours and wakes the UI thread with a bare event that carries nothing of ours,
// then waits under the same lock for the answer: the thread sanitizer sees no synchronisation
// inside Qt, so every hand-over between the threads goes through this lock. Made on the UI
// thread, where it lives, and never destroyed: a worker may outlive any page.
class DetectionBoxes final : public QObject {
public:
    static DetectionBoxes* Instance() {
        static DetectionBoxes* boxes = new DetectionBoxes;
        return boxes;
    }

    // On a worker: has the UI thread show the box, unless the page has closed by then (the box
    // would speak of a detection the user has already been told failed, perhaps over a newer
    // one), and returns once it was dismissed.
    void ShowAndWait(std::shared_ptr<const std::atomic<bool>> pageOpen, std::string text,
                     MessageIcon icon) {
        auto request = std::make_shared<Request>();
        request->pageOpen = std::move(pageOpen);
        request->text = std::move(text);
        request->icon = icon;
        {
            std::lock_guard lock(mutex_);
            pending_.push_back(request);
        }
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        std::unique_lock lock(mutex_);
        answered_.wait(lock, [&] { return request->answered; });
    }

protected:
    void customEvent(QEvent*) override {
        for (;;) {
            std::shared_ptr<Request> request;
            {
                std::lock_guard lock(mutex_);
                if (pending_.empty()) return;
                request = pending_.front();
                pending_.pop_front();
            }
            // The UI thread also closes the page, so the answer cannot change meanwhile.
            if (request->pageOpen->load()) Show(request->text, request->icon);
            {
                std::lock_guard lock(mutex_);
                request->answered = true;
            }
            answered_.notify_all();
        }
    }

private:
    struct Request {
        std::shared_ptr<const std::atomic<bool>> pageOpen;
        std::string text;
        MessageIcon icon = MessageIcon::None;
        bool answered = false;
    };
    std::mutex mutex_;
    std::condition_variable answered_;
    std::deque<std::shared_ptr<Request>> pending_;
};

// The box a detection worker asks for: shown at once on the UI thread, or asked of it from a
// worker, which waits until it was dismissed. Nothing is shown once the page has closed.
void ShowFromDetection(const std::shared_ptr<const std::atomic<bool>>& pageOpen,
                       const std::string& text, MessageIcon icon) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    if (QThread::currentThread() == app->thread()) {
        if (pageOpen->load()) Show(text, icon);
    } else {
        DetectionBoxes::Instance()->ShowAndWait(pageOpen, text, icon);
    }
}

}  // namespace

int DetectModemWorker(const std::string& helperDirectory, const ProgressSettings& settings,
                      std::shared_ptr<const std::atomic<bool>> pageOpen) {
    std::unique_ptr<ProcessService> owned =
        settings.makeProcesses ? settings.makeProcesses() : std::make_unique<PosixProcessService>();
    ProcessService& processes = *owned;
    std::unique_ptr<NetworkAdapters> adapters =
        settings.makeAdapters ? settings.makeAdapters(processes) : CreateNetworkAdapters(processes);
    DetectionCallbacks callbacks;
    // A candidate that accepted but failed the LAN test costs one plain not-detected box; a
    // refused authorization is told once, and the detection goes on with what it has.
    callbacks.onCandidateFailed = [pageOpen](const std::string&) {
        ShowFromDetection(pageOpen, std::string(TextOf(Session().msgModemNotDetected)),
                          MessageIcon::None);
    };
    callbacks.onStep = [pageOpen](const std::string& step) {
        if (step == "not-authorized") {
            ShowFromDetection(pageOpen, NotAuthorizedMessage(Session().languageIndex),
                              MessageIcon::Exclamation);
        }
    };
    DetectionTiming pacing;
    pacing.settleMs = static_cast<int>(pacing.settleMs * settings.scale);
    pacing.commandGapMs = static_cast<int>(pacing.commandGapMs * settings.scale);
    pacing.limits = settings.limits;
    return DetectModem(Session(), helperDirectory, {adapters.get(), &processes}, callbacks, pacing);
}

CDetectPage::CDetectPage(const QString& bitmapPath, QWidget* owner)
    : ProgressPage(kTemplateDetect, bitmapPath, owner) {}

CDetectPage::~CDetectPage() = default;

void CDetectPage::OnInitDialog() {
    ProgressPage::OnInitDialog();
    // The worker owns copies of what it reads: the page may be gone long before it ends.
    const std::string directory = CurrentDirectory();
    const ProgressSettings settings = CurrentProgressSettings();
    m_open->store(true);
    std::shared_ptr<const std::atomic<bool>> open = m_open;
    DetectionBoxes::Instance();  // made here, on the UI thread, where it must live
    if (!m_run->Start(ScaledMs(kTimerMs), false, [directory, settings, open] {
            return DetectModemWorker(directory, settings, open);
        })) {
        // The timer keeps running: the page fails by time-out.
        ShowNotDetected(this, MessageIcon::Exclamation);
    }
}

void CDetectPage::OnTimer() {
    const int code = m_run->ExitCode();
    if (code == 0 && Session().modemFound.load() == 1) {
        m_run->Finish(ScaledMs(kSuccessPauseMs), ScaledMs(kSuccessPauseMs), [this] { Succeed(); });
        return;
    }
    if (code == 1) {
        m_run->Finish(ScaledMs(kFailurePauseMs), ScaledMs(kFailurePauseMs), [this] { GiveUp(); });
        return;
    }
    if (m_run->Position() == 100) {
        m_run->StopTimer();
        GiveUp();
        return;
    }
    m_run->Creep(m_nProgressStep);
}

void CDetectPage::Succeed() {
    // The found-modem page takes this page's place on its owner.
    OnClose();
    OpenStep(WizardStep::ModemDetected, Owner());
}

void CDetectPage::GiveUp() {
    ShowNotDetected(this, MessageIcon::Exclamation);
    SendWizardMessage(Owner(), WM_WIZARD_RESHOW, 0);
    OnClose();
}

void CDetectPage::OnClose() {
    m_open->store(false);
    ProgressPage::OnClose();
}
