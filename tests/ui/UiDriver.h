#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/wizard/WizardPage.h"

// Drives the real nested modal loops of the wizard: queued actions run one after another from
// timers, each on the page that is on top (the active modal page) once it is visible. Start it,
// then run the bottom page's DoModal; the actions reach every page that opens above it.
class UiDriver final : public QObject {
public:
    using Action = std::function<void(CWizardPage& top)>;

    // After watchdogMs every open page is closed, so that a stuck script cannot hang a test.
    explicit UiDriver(int watchdogMs = 10000);
    ~UiDriver() override;

    UiDriver& Then(Action action);
    // Clicks the template control with this id on the top page (hidden controls included, as a
    // click message would reach them).
    UiDriver& Click(int controlId);
    // Presses and releases a key on the top page's focused control, or on the page itself.
    UiDriver& Key(int key);
    // Saves the top page as folder/name.png.
    UiDriver& Screenshot(const QString& folder, const QString& name);

    void Start();

    // The page class each action ran on, in order.
    const std::vector<std::string>& Visited() const { return visited_; }
    bool AllActionsRan() const { return actions_.empty(); }
    bool TimedOut() const { return timedOut_; }

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

private:
    void Poll();
    void Abandon();

    std::deque<Action> actions_;
    std::vector<std::string> visited_;
    int watchdogMs_;
    bool timedOut_ = false;
};
