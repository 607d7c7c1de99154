#include "UiDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <exception>

constexpr int kPollMs = 5;

UiDriver& UiDriver::When(std::string pageClass, Action action) {
    return When(
        [pageClass](CWizardPage& top) { return pageClass == top.metaObject()->className(); },
        std::move(action));
}

UiDriver& UiDriver::Click(int controlId) {
    return Then([controlId](CWizardPage& top) {
        if (auto* button = qobject_cast<QAbstractButton*>(top.Control(controlId))) button->click();
    });
}

void UiDriver::Start() {
    QTimer::singleShot(kPollMs, this, &UiDriver::Poll);
    QTimer::singleShot(watchdogMs_, this, &UiDriver::Abandon);
}

CWizardPage* UiDriver::TopPage() {
    return qobject_cast<CWizardPage*>(QApplication::activeModalWidget());
}

bool UiDriver::SavePage(CWizardPage& page, const QString& folder, const QString& name) {
    QDir().mkpath(folder);
    return page.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")), "PNG");
}

bool UiDriver::eventFilter(QObject* watched, QEvent* event) {
    auto* page = qobject_cast<CWizardPage*>(watched);
    if (page == nullptr) return false;
    if (event->type() == QEvent::Hide) hidden_.push_back(page->metaObject()->className());
    if (event->type() == QEvent::Show) {
        shown_.push_back(page->metaObject()->className());
        for (auto& [pageClass, action] : onShow_) {
            if (pageClass == shown_.back()) action(*page);
        }
    }
    return false;
}

void UiDriver::Poll() {
    if (steps_.empty()) return;
    // The next poll is armed before the action runs: an action that opens a page blocks in that
    // page's modal loop, and the polls go on inside it.
    QTimer::singleShot(kPollMs, this, &UiDriver::Poll);
    CWizardPage* top = TopPage();
    if (top == nullptr || !top->isVisible()) return;
    if (steps_.front().match && !steps_.front().match(*top)) return;
    const Action action = std::move(steps_.front().action);
    steps_.pop_front();
    const std::string page = top->metaObject()->className();
    visited_.push_back(page);
    try {
        action(*top);
        return;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "step on " << page << ": " << e.what();
    } catch (...) {
        ADD_FAILURE() << "step on " << page << " threw";
    }
    steps_.clear();
    CloseAllPages();
}

void UiDriver::CloseAllPages() {
    // Bounded: a page that would not end must not turn the watchdog into a hang of its own.
    for (int i = 0; i < 64 && TopPage() != nullptr; ++i) TopPage()->OnClose();
}

void UiDriver::Abandon() {
    if (steps_.empty() && TopPage() == nullptr) return;
    timedOut_ = true;
    steps_.clear();
    CloseAllPages();
}
