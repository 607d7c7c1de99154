#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/wizard/WizardPage.h"

// Drives the real nested modal loops of the wizard: queued steps run one after another from
// timers, each on the page on top (the active modal page) once it is visible and, for a step
// given with When, once it is the page the step names. Start it, then run the bottom page's
// DoModal; the steps reach every page that opens above it. Also records every wizard page shown
// and hidden. A step that throws fails the test with the page's name and the reason; the
// remaining steps are dropped and every page closed.
class UiDriver final : public QObject {
public:
    using Action = std::function<void(CWizardPage& top)>;
    using Match = std::function<bool(CWizardPage& top)>;

    // After watchdogMs every open page is closed, so that a stuck script cannot hang a test.
    explicit UiDriver(int watchdogMs = 20000) : watchdogMs_(watchdogMs) {
        qApp->installEventFilter(this);
    }
    ~UiDriver() override { qApp->removeEventFilter(this); }

    // A step on whichever page is on top.
    UiDriver& Then(Action action) { return When(Match(), std::move(action)); }
    // A step that waits until the page on top is of this class, or matches.
    UiDriver& When(std::string pageClass, Action action);
    UiDriver& When(Match match, Action action) {
        steps_.push_back({std::move(match), std::move(action)});
        return *this;
    }
    // Runs action on every page of this class as it is shown, before its first timer tick.
    UiDriver& OnShow(std::string pageClass, Action action) {
        onShow_.emplace_back(std::move(pageClass), std::move(action));
        return *this;
    }
    // Clicks the template control with this id on the top page (hidden controls included, as a
    // click message would reach them).
    UiDriver& Click(int controlId);
    // Saves the top page as folder/name.png.
    UiDriver& Screenshot(const QString& folder, const QString& name) {
        return Then([folder, name](CWizardPage& top) { SavePage(top, folder, name); });
    }

    void Start();

    // The page class each step ran on, in order.
    const std::vector<std::string>& Visited() const { return visited_; }
    // Every wizard page shown, and hidden, in order.
    const std::vector<std::string>& Shown() const { return shown_; }
    const std::vector<std::string>& Hidden() const { return hidden_; }
    bool AllActionsRan() const { return steps_.empty(); }
    bool TimedOut() const { return timedOut_; }
    bool Finished() const { return steps_.empty() && !timedOut_; }

    // The wizard page on top, or nullptr.
    static CWizardPage* TopPage();
    // The top page as the class a step expects; any other page throws, which ends the step.
    template <typename Page>
    static Page& Expect(CWizardPage& top) {
        if (auto* page = qobject_cast<Page*>(&top)) return *page;
        throw std::runtime_error(std::string("expected ") + Page::staticMetaObject.className() +
                                 " on top, found " + top.metaObject()->className());
    }
    static void CloseAllPages();
    // Saves any page; creates the folder. False when the file could not be written.
    static bool SavePage(CWizardPage& page, const QString& folder, const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Step {
        Match match;  // empty: any page
        Action action;
    };
    void Poll();
    void Abandon();

    std::deque<Step> steps_;
    std::vector<std::pair<std::string, Action>> onShow_;
    std::vector<std::string> visited_;
    std::vector<std::string> shown_;
    std::vector<std::string> hidden_;
    int watchdogMs_;
    bool timedOut_ = false;
};
