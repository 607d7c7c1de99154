#include "ui/progress/InternetTestPage.h"

#include <QProgressBar>
#include <algorithm>

#include "core/protocol/Exchanges.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/progress/ProgressRun.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/wizard/WizardContext.h"
#include "ui/wizard/WizardMessage.h"

TestResultMessage TestResultMessageFor(int code, const SessionFields& fields) {
    switch (code) {
        case 2:
            return {TextOf(fields.msgPppPasswordMismatch), MessageIcon::Exclamation};
        case 3:
        case 7:
            return {TextOf(fields.msgDslFailed), MessageIcon::Exclamation};
        case 4:
        case 5:
            return {TextOf(fields.msgDhcpFailed), MessageIcon::Exclamation};
        case 6:
            return {TextOf(fields.msgUnknownError), MessageIcon::Question};
        default:
            return {TextOf(fields.msgInternetFailed), MessageIcon::Exclamation};
    }
}

int InternetTestWorker(const std::string& modemAddress, int timeout,
                       const ProgressSettings& settings) {
    const int result =
        ExchangeInternetTest(modemAddress.c_str(), timeout, settings.internetTestLimits);
    if (result == 0) Session().internetConnected.store(1);
    // The modem's code becomes the exit code, which reads kStillActive while the worker runs: a
    // modem answering that very code would keep the page waiting out its time. It gets the
    // general message at once instead, as every code the table does not name.
    return result == WorkerThread::kStillActive ? 1 : result;
}

CInternetTestPage::CInternetTestPage(const QString& bitmapPath, QWidget* owner)
    : ProgressPage(kTemplateInternetTest, bitmapPath, owner) {}

CInternetTestPage::~CInternetTestPage() = default;

void CInternetTestPage::OnInitDialog() {
    ProgressPage::OnInitDialog();
    // Each tick arms the next one itself (see OnTimer), counted from this clock.
    m_clock.start();
    m_nextTickMs = ScaledMs(kTimerMs);
    // Copies for the worker: a detection worker that outlived its page may still write the
    // modem's address.
    const std::string address(TextOf(Session().modemIpAddress));
    const int timeout = Session().wanTestTimeout;
    const ProgressSettings settings = CurrentProgressSettings();
    if (!m_run->Start(ScaledMs(kTimerMs), true, [address, timeout, settings] {
            return InternetTestWorker(address, timeout, settings);
        })) {
        ShowTestResult(1);
    }
}

void CInternetTestPage::OnTimer() {
    const int code = m_run->ExitCode();
    if (code == 0 && Session().internetConnected.load() == 1) {
        m_run->Finish(ScaledMs(kStepPauseMs), ScaledMs(kLastPauseMs), [this] { Succeed(); });
        return;
    }
    if (code != WorkerThread::kStillActive) {
        m_run->Finish(ScaledMs(kStepPauseMs), ScaledMs(kLastPauseMs),
                      [this, code] { GiveUp(code); });
        return;
    }
    if (m_run->Position() == 100) {
        m_run->StopTimer();
        GiveUp(code);
        return;
    }
    m_run->Creep(1);
    // The page once waited wanTestTimeout x 10 ms inside every tick, so the 720 ms tick that fell
    // due meanwhile came at the end of the wait: the next tick follows this one after the wait.
    m_nextTickMs += ScaledMs(Session().wanTestTimeout * 10);
    m_run->Rearm(static_cast<int>(std::max<qint64>(0, m_nextTickMs - m_clock.elapsed())));
}

void CInternetTestPage::Succeed() {
    OnClose();
    OpenStep(WizardStep::InternetWorks, Owner());
}

void CInternetTestPage::GiveUp(int code) {
    ShowTestResult(code);
    // Restore the k-th page beneath this one and close the one above it, seven times over.
    QWidget* closing = this;
    for (int k = 1; k <= kUnwindLevels && closing != nullptr; ++k) {
        QWidget* beneath = closing->parentWidget();
        SendWizardMessage(beneath, WM_WIZARD_RESHOW, 0);
        if (auto* page = qobject_cast<CWizardPage*>(closing)) page->OnClose();
        closing = beneath;
    }
}

void CInternetTestPage::ShowTestResult(int code) {
    MessageBoxService* boxes = CurrentContext().messageBox;
    if (boxes == nullptr) return;
    const TestResultMessage message = TestResultMessageFor(code, Session());
    boxes->Show(this, message.text, message.icon);
}
