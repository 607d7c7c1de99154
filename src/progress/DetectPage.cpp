#include "progress/DetectPage.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QThread>

#include "device/LocalizedMessages.h"
#include "platform/MessageBoxService.h"
#include "platform/NetworkAdapters.h"
#include "platform/ProcessService.h"
#include "progress/ModemDetection.h"
#include "progress/ProgressFill.h"
#include "progress/ProgressSettings.h"
#include "wizard/SessionFields.h"
#include "wizard/TextBuffer.h"
#include "wizard/WizardContext.h"
#include "wizard/WizardMessage.h"

namespace {

void ShowNotDetected(QWidget* owner, MessageIcon icon) {
    if (MessageBoxService* boxes = CurrentContext().messageBox) {
        boxes->Show(owner, TextOf(Session().msgModemNotDetected), icon);
    }
}

// Runs on the worker: has the UI thread show the plain box and returns once it was dismissed.
// The box belongs to no page, so it is shown even when the detection page has gone.
void ShowCandidateFailure() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    auto show = [] { ShowNotDetected(nullptr, MessageIcon::None); };
    if (QThread::currentThread() == app->thread()) {
        show();
        return;
    }
    QMetaObject::invokeMethod(app, show, Qt::BlockingQueuedConnection);
}

// Runs on the worker: has the UI thread tell the user that the renewal was not authorized, and
// returns once the box was dismissed; the detection then goes on with the candidates it has.
void ShowNotAuthorized() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    const std::string text = NotAuthorizedMessage(Session().languageIndex);
    auto show = [text] {
        if (MessageBoxService* boxes = CurrentContext().messageBox) {
            boxes->Show(nullptr, text, MessageIcon::Exclamation);
        }
    };
    if (QThread::currentThread() == app->thread()) {
        show();
        return;
    }
    QMetaObject::invokeMethod(app, show, Qt::BlockingQueuedConnection);
}

}  // namespace

int DetectModemWorker(const std::string& helperDirectory, const ProgressSettings& settings) {
    std::unique_ptr<ProcessService> owned =
        settings.makeProcesses ? settings.makeProcesses() : std::make_unique<PosixProcessService>();
    ProcessService& processes = *owned;
    std::unique_ptr<NetworkAdapters> adapters =
        settings.makeAdapters ? settings.makeAdapters(processes) : CreateNetworkAdapters(processes);
    DetectionCallbacks callbacks;
    callbacks.onCandidateFailed = [](const std::string&) { ShowCandidateFailure(); };
    callbacks.onStep = [](const std::string& step) {
        if (step == "not-authorized") ShowNotAuthorized();
    };
    DetectionTiming pacing;
    pacing.settleMs = static_cast<int>(pacing.settleMs * settings.scale);
    pacing.commandGapMs = static_cast<int>(pacing.commandGapMs * settings.scale);
    pacing.limits = settings.limits;
    return DetectModem(Session(), helperDirectory, {adapters.get(), &processes}, callbacks, pacing);
}

CDetectPage::CDetectPage(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateDetect, bitmapPath, owner), m_fill(new ProgressFill(Progress(), this)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CDetectPage::OnTimer);
}

CDetectPage::~CDetectPage() = default;

QProgressBar* CDetectPage::Progress() const {
    return qobject_cast<QProgressBar*>(Control(kIdProgress));
}

void CDetectPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    Progress()->setRange(0, 100);
    Progress()->setValue(0);
    m_timer.start(ScaledMs(kTimerMs));
    // The worker owns copies of what it reads: the page may be gone long before it ends.
    const std::string directory = CurrentDirectory();
    const ProgressSettings settings = CurrentProgressSettings();
    if (!m_worker.Start([directory, settings] { return DetectModemWorker(directory, settings); })) {
        // The timer keeps running: the page fails by time-out.
        ShowNotDetected(this, MessageIcon::Exclamation);
    }
}

void CDetectPage::OnTimer() {
    int p = Progress()->value();
    const int code = m_worker.ExitCode();
    if (code == 0 && Session().modemFound.load() == 1) {
        m_timer.stop();
        m_fill->Start(p, ScaledMs(kSuccessPauseMs), ScaledMs(kSuccessPauseMs),
                      [this] { Succeed(); });
        return;
    }
    if (code == 1) {
        m_timer.stop();
        m_fill->Start(p, ScaledMs(kFailurePauseMs), ScaledMs(kFailurePauseMs),
                      [this] { GiveUp(); });
        return;
    }
    if (p == 100) {
        m_timer.stop();
        GiveUp();
        return;
    }
    Progress()->setValue(std::min(p + m_nProgressStep, 100));
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
    m_timer.stop();
    m_fill->Stop();
    m_worker.Close();
    CWizardPage::OnClose();
}
