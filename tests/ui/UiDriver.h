#pragma once

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
// DoModal; the steps reach every page that opens above it. Also records every wizard page shown.
class UiDriver final : public QObject {
public:
    using Action = std::function<void(CWizardPage& top)>;
    using Match = std::function<bool(CWizardPage& top)>;

    // After watchdogMs every open page is closed, so that a stuck script cannot hang a test.
    explicit UiDriver(int watchdogMs = 20000);
    ~UiDriver() override;

    // A step on whichever page is on top.
    UiDriver& Then(Action action);
    // A step that waits until the page on top is of this class, or matches.
    UiDriver& When(std::string pageClass, Action action);
    UiDriver& When(Match match, Action action);
    // Runs action on every page of this class as it is shown, before its first timer tick.
    UiDriver& OnShow(std::string pageClass, Action action);
    // Clicks the template control with this id on the top page (hidden controls included, as a
    // click message would reach them).
    UiDriver& Click(int controlId);
    // Presses and releases a key on the top page's focused control, or on the page itself.
    UiDriver& Key(int key);
    // Saves the top page as folder/name.png.
    UiDriver& Screenshot(const QString& folder, const QString& name);

    void Start();

    // The page class each step ran on, in order.
    const std::vector<std::string>& Visited() const { return visited_; }
    // Every wizard page shown, in order.
    const std::vector<std::string>& Shown() const { return shown_; }
    bool AllActionsRan() const { return steps_.empty(); }
    bool TimedOut() const { return timedOut_; }
    bool Finished() const { return steps_.empty() && !timedOut_; }

    // The wizard page on top, or nullptr.
    static CWizardPage* TopPage();
    // The top page as the class a step expects; any other page ends the step (see RunStep).
    template <typename Page>
    static Page& Expect(CWizardPage& top) {
        if (auto* page = qobject_cast<Page*>(&top)) return *page;
        throw std::runtime_error(std::string("expected ") + Page::staticMetaObject.className() +
                                 " on top, found " + top.metaObject()->className());
    }
    // Runs one step on the top page. A step that throws (a page or an entry it expects is not
    // there) fails the test with the page's name and the reason instead of ending the process;
    // false then, and the caller drops its remaining steps and closes every page.
    static bool RunStep(const Action& action, CWizardPage& top);
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
    int watchdogMs_;
    bool timedOut_ = false;
};
