#pragma once

#include <QProgressBar>

#include "resources/PageTemplates.h"
#include "ui/progress/ProgressRun.h"

// What every progress page shares, over the page class it extends (a plain page or one that
// carries its own record): the run built on the page's bar with OnTimer as its tick, the close
// rule applied before the page itself closes, and no private wizard messages (a progress page is
// never rewound into nor shown again).
template <class Page>
class ProgressPage : public Page {
public:
    ProgressPage(int templateId, const QString& bitmapPath, QWidget* owner)
        : Page(templateId, bitmapPath, owner),
          m_run(new ProgressRun(qobject_cast<QProgressBar*>(this->Control(kIdProgress)), this,
                                [this] { OnTimer(); })) {}

    void OnClose() override {
        m_run->Close();
        Page::OnClose();
    }

protected:
    bool HandlesWizardMessages() const override { return false; }
    // Reads the run's outcome on each tick of its timer.
    virtual void OnTimer() = 0;

    ProgressRun* const m_run;  // a child of the page
};
