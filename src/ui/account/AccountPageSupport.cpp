#include "ui/account/AccountPageSupport.h"

#include <QLineEdit>
#include <algorithm>

#include "core/session/TextBuffer.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/wizard/WizardPage.h"

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string ControlText(const CWizardPage& page, int id) {
    QWidget* control = page.Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text().toStdString();
    if (auto* address = qobject_cast<IpAddressEdit*>(control)) return address->text().toStdString();
    return {};
}

void SetControlText(CWizardPage& page, int id, std::string_view text) {
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QWidget* control = page.Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(value);
    if (auto* address = qobject_cast<IpAddressEdit*>(control)) address->setText(value);
}

void Remember(char* dst, std::size_t capacity, std::string_view text) {
    if (capacity == 0) return;
    std::size_t n = std::min(text.size(), capacity - 1);
    // Never end inside a multi-byte character.
    if (n < text.size()) {
        while (n > 0 && IsContinuationByte(text[n])) --n;
    }
    CopyText(dst, capacity, text.substr(0, n));
}
