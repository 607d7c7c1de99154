#include "RecordingMessageBoxService.h"

void RecordingMessageBoxService::Show(QWidget*, std::string_view text, MessageIcon icon) {
    entries_.push_back({MessageCaption(), std::string(text), icon});
}
