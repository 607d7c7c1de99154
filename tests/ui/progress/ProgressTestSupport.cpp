#include "ProgressTestSupport.h"

#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <fstream>

#include "UiDriver.h"
#include "core/session/SessionFields.h"
#include "core/worker/WorkerThread.h"
#include "detection/ModemDetection.h"
#include "ui/wizard/ResourcePath.h"

PageScript::PageScript(int watchdogMs) : watchdogMs_(watchdogMs) {
    qApp->installEventFilter(this);
}

PageScript::~PageScript() {
    qApp->removeEventFilter(this);
}

PageScript& PageScript::When(std::string pageClass, Action action) {
    steps_.push_back(
        {[pageClass](CWizardPage& top) { return pageClass == top.metaObject()->className(); },
         std::move(action)});
    return *this;
}

PageScript& PageScript::When(Match match, Action action) {
    steps_.push_back({std::move(match), std::move(action)});
    return *this;
}

PageScript& PageScript::OnShow(std::string pageClass, Action action) {
    onShow_.emplace_back(std::move(pageClass), std::move(action));
    return *this;
}

void PageScript::Start() {
    QTimer::singleShot(1, this, &PageScript::Poll);
    QTimer::singleShot(watchdogMs_, this, &PageScript::Abandon);
}

bool PageScript::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* page = qobject_cast<CWizardPage*>(watched)) {
            shown_.push_back(page->metaObject()->className());
            for (auto& [pageClass, action] : onShow_) {
                if (pageClass == shown_.back()) action(*page);
            }
        }
    }
    return false;
}

void PageScript::Poll() {
    if (steps_.empty()) return;
    // Armed before the action: an action that opens a page blocks in that page's loop.
    QTimer::singleShot(1, this, &PageScript::Poll);
    CWizardPage* top = UiDriver::TopPage();
    if (top == nullptr || !top->isVisible() || !steps_.front().match(*top)) return;
    Action action = std::move(steps_.front().action);
    steps_.pop_front();
    if (!UiDriver::RunStep(action, *top)) {
        steps_.clear();
        UiDriver::CloseAllPages();
    }
}

void PageScript::Abandon() {
    if (steps_.empty() && UiDriver::TopPage() == nullptr) return;
    timedOut_ = true;
    steps_.clear();
    UiDriver::CloseAllPages();
}

StandInPage::StandInPage(QWidget* owner)
    : CWizardPage(kTemplateGuide1, ResourcePath("install01.bmp"), owner) {}

long StandInPage::OnWizardReshow(std::uintptr_t wParam) {
    reshows.push_back(wParam);
    return CWizardPage::OnWizardReshow(wParam);
}

void RunStack(std::vector<std::unique_ptr<StandInPage>>& pages, int depth,
              const std::function<void(CWizardPage&)>& leaf) {
    const int level = static_cast<int>(pages.size());
    pages.push_back(std::make_unique<StandInPage>(level == 0 ? nullptr : pages.back().get()));
    StandInPage& page = *pages.back();
    QTimer::singleShot(0, &page, [&pages, &page, depth, &leaf] {
        if (static_cast<int>(pages.size()) < depth) {
            RunStack(pages, depth, leaf);
        } else {
            leaf(page);
        }
    });
    page.DoModal();
}

void DestroyStack(std::vector<std::unique_ptr<StandInPage>>& pages) {
    while (!pages.empty()) pages.pop_back();
}

int QuietProcesses::Run(const std::vector<std::string>& command, bool quiet) {
    return real_.Run(command, quiet);
}

bool WaitForWorkers(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (WorkerThread::Running() > 0) {
        if (clock.elapsed() > timeoutMs) return false;
        // A detection worker may be waiting for the UI thread to show its box.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

void ResetSessionOutcomes() {
    SessionFields& fields = Session();
    fields.modemFound = 0;
    fields.internetConnected = 0;
    fields.applyFinished = 0;
    fields.wanConnectionCreated = 0;
    fields.dhcpServerCount = 0;
    std::fill(std::begin(fields.modemIpAddress), std::end(fields.modemIpAddress), '\0');
}

void WriteDhcpHelper(const std::string& body) {
    const std::string path = CurrentDirectory() + "/" + kDhcpHelperName;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
}
