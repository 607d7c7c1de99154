#pragma once

#include <string>
#include <vector>

#include "ui/services/MessageBoxService.h"

// Keeps every box it is asked to show instead of showing it, and returns at once.
class RecordingMessageBoxService final : public MessageBoxService {
public:
    struct Entry {
        std::string caption;
        std::string text;
        MessageIcon icon;
    };

    void Show(QWidget* owner, std::string_view text, MessageIcon icon) override;

    const std::vector<Entry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};
