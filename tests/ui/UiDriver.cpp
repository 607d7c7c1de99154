#include "UiDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QtTest/QTest>
#include <exception>

#include "ui/wizard/WizardPage.h"

namespace {

constexpr int kPollMs = 5;

}  // namespace

UiDriver::UiDriver(int watchdogMs) : watchdogMs_(watchdogMs) {
    qApp->installEventFilter(this);
}

UiDriver::~UiDriver() {
    qApp->removeEventFilter(this);
}

UiDriver& UiDriver::Then(Action action) {
    steps_.push_back({nullptr, std::move(action)});
    return *this;
}

UiDriver& UiDriver::When(std::string pageClass, Action action) {
    return When(
        [pageClass](CWizardPage& top) { return pageClass == top.metaObject()->className(); },
        std::move(action));
}

UiDriver& UiDriver::When(Match match, Action action) {
    steps_.push_back({std::move(match), std::move(action)});
    return *this;
}

UiDriver& UiDriver::OnShow(std::string pageClass, Action action) {
    onShow_.emplace_back(std::move(pageClass), std::move(action));
    return *this;
}

UiDriver& UiDriver::Click(int controlId) {
    return Then([controlId](CWizardPage& top) {
        auto* button = qobject_cast<QAbstractButton*>(top.Control(controlId));
        if (button != nullptr) button->click();
    });
}

UiDriver& UiDriver::Key(int key) {
    return Then([key](CWizardPage& top) {
        QWidget* target = top.focusWidget() ? top.focusWidget() : &top;
        QTest::keyClick(target, static_cast<Qt::Key>(key));
    });
}

UiDriver& UiDriver::Screenshot(const QString& folder, const QString& name) {
    return Then([folder, name](CWizardPage& top) { SavePage(top, folder, name); });
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
    if (page != nullptr && event->type() == QEvent::Show) {
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
    Action action = std::move(steps_.front().action);
    steps_.pop_front();
    visited_.push_back(top->metaObject()->className());
    if (!RunStep(action, *top)) {
        steps_.clear();
        CloseAllPages();
    }
}

bool UiDriver::RunStep(const Action& action, CWizardPage& top) {
    const std::string page = top.metaObject()->className();
    try {
        action(top);
        return true;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "step on " << page << ": " << e.what();
    } catch (...) {
        ADD_FAILURE() << "step on " << page << " threw";
    }
    return false;
}

void UiDriver::CloseAllPages() {
    // Bounded: a page that would not end must not turn the watchdog into a hang of its own.
    for (int i = 0; i < 64; ++i) {
        CWizardPage* top = TopPage();
        if (top == nullptr) break;
        top->OnClose();
    }
}

void UiDriver::Abandon() {
    if (steps_.empty() && TopPage() == nullptr) return;
    timedOut_ = true;
    steps_.clear();
    CloseAllPages();
}
