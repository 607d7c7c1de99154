#include "ui/progress/ApplyPage.h"

#include <QProgressBar>

#include "core/protocol/ApplySettings.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/progress/ProgressRun.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/WizardContext.h"
#include "ui/wizard/WizardMessage.h"

int ApplySettingsWorker(const WizardSession& record, const ProgressSettings& settings) {
    const int result = BuildAndSendSettings(record, Session(), settings.limits);
    Session().applyFinished.store(1);
    // A modem reason equal to the still-running exit code would keep the page waiting out its
    // time; every failure shows the same message.
    return result == WorkerThread::kStillActive ? 1 : result;
}

CApplyPage::CApplyPage(const QString& bitmapPath, QWidget* owner)
    : ProgressPage(kTemplateApply, bitmapPath, owner) {}

CApplyPage::~CApplyPage() = default;

void CApplyPage::OnInitDialog() {
    ProgressPage::OnInitDialog();
    // The worker gets its own copy of the record: the page can time out and be destroyed while
    // the worker is still blocked in an exchange.
    const WizardSession record = m_session;
    const ProgressSettings settings = CurrentProgressSettings();
    if (!m_run->Start(ScaledMs(kTimerMs), false,
                      [record, settings] { return ApplySettingsWorker(record, settings); })) {
        ShowApplyError(1);
    }
}

void CApplyPage::OnTimer() {
    const int code = m_run->ExitCode();
    if (code == WorkerThread::kStillActive) {
        if (m_run->Position() == 100) {
            m_run->StopTimer();
            GiveUp(code);
            return;
        }
        m_run->Creep(kProgressStep);
        return;
    }
    const int pause = ScaledMs(kFillPauseMs);
    if (code == 0 && Session().applyFinished.load() == 1) {
        m_run->Finish(pause, pause, [this] { Succeed(); });
    } else {
        m_run->Finish(pause, pause, [this, code] { GiveUp(code); });
    }
}

void CApplyPage::Succeed() {
    OnClose();
    OpenStep(WizardStep::SettingsApplied, Owner());
}

void CApplyPage::GiveUp(int code) {
    ShowApplyError(code);
    // wParam 1: the wireless page sends the settings again on its next Next.
    SendWizardMessage(Owner(), WM_WIZARD_RESHOW, 1);
    OnClose();
}

void CApplyPage::ShowApplyError(int) {
    if (MessageBoxService* boxes = CurrentContext().messageBox) {
        boxes->Show(this, TextOf(Session().msgWriteFailed), MessageIcon::Exclamation);
    }
}
