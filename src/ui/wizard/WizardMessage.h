#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

// The two private messages between pages. Both are delivered synchronously: the sender goes on
// only once the receiver has handled the message.
inline constexpr int WM_WIZARD_EXIT = 0x052C;    // leave the wizard: pass it on, then close
inline constexpr int WM_WIZARD_RESHOW = 0x052D;  // the page above is closing: show yourself

class WizardMessageEvent final : public QEvent {
public:
    WizardMessageEvent(int message, std::uintptr_t wParam);

    // The event type registered for the private messages.
    static QEvent::Type EventType();

    int Message() const { return message_; }
    std::uintptr_t WParam() const { return wParam_; }
    long Result() const { return result_; }
    void SetResult(long result) { result_ = result; }

private:
    int message_;
    std::uintptr_t wParam_;
    long result_ = 0;
};

// Delivers the message to target at once and returns the receiver's result; 0 when target is
// null or does not handle it.
long SendWizardMessage(QObject* target, int message, std::uintptr_t wParam = 0);
