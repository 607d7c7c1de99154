#pragma once

#include <string>
#include <string_view>
#include <vector>

class QWidget;

// The icon a message box shows beside its text.
enum class MessageIcon {
    Information,
    Exclamation,
    Error,
    Question,
    None,  // a plain box: the text and OK only
};

// Shows a text to the user and returns once the user has dismissed it. The caption is always
// the application's name (the executable's file name); callers never choose one.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // owner: the window the box is modal to, or nullptr. UI thread only.
    virtual void Show(QWidget* owner, std::string_view text, MessageIcon icon) = 0;
};

// The caption every message box carries: the application's name.
std::string MessageCaption();

// The real boxes: a modal QMessageBox with one OK button.
class QtMessageBoxService final : public MessageBoxService {
public:
    void Show(QWidget* owner, std::string_view text, MessageIcon icon) override;
};
