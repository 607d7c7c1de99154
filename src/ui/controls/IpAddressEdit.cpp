#include "ui/controls/IpAddressEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace {

constexpr int kDigitsPerField = 3;

// The value a field stands for: blank reads as 0, anything above 255 as 255.
int FieldValue(const QLineEdit* field) {
    return std::min(field->text().toInt(), IpAddressEdit::kMaxOctet);
}

bool IsDecimalPart(const QString& part) {
    if (part.isEmpty() || part.size() > kDigitsPerField) return false;
    return std::all_of(part.begin(), part.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

}  // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    const QRegularExpression digits(QStringLiteral("[0-9]{0,3}"));
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            dot->setBackgroundRole(QPalette::Base);
            layout->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(kDigitsPerField);
        field->setValidator(new QRegularExpressionValidator(digits, field));
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->installEventFilter(this);
        // Tab enters the address at its first field and leaves it from any field; the others are
        // reached by typing, the dot and the arrows, or a click.
        if (i > 0) field->setFocusPolicy(Qt::ClickFocus);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnFieldEdited(i); });
        layout->addWidget(field, 1);
        m_fields[static_cast<std::size_t>(i)] = field;
    }
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_fields[0]);
}

QString IpAddressEdit::text() const {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(FieldValue(m_fields[0]))
        .arg(FieldValue(m_fields[1]))
        .arg(FieldValue(m_fields[2]))
        .arg(FieldValue(m_fields[3]));
}

void IpAddressEdit::setText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < kFieldCount; ++i) {
        QLineEdit* field = m_fields[static_cast<std::size_t>(i)];
        const QString part = i < parts.size() ? parts.at(i) : QString();
        if (IsDecimalPart(part)) {
            field->setText(QString::number(std::min(part.toInt(), kMaxOctet)));
        } else {
            field->clear();
        }
    }
}

void IpAddressEdit::clear() {
    for (QLineEdit* field : m_fields) field->clear();
}

bool IpAddressEdit::isBlank() const {
    return std::all_of(m_fields.begin(), m_fields.end(),
                       [](const QLineEdit* field) { return field->text().isEmpty(); });
}

QLineEdit* IpAddressEdit::Field(int index) const {
    if (index < 0 || index >= kFieldCount) return nullptr;
    return m_fields[static_cast<std::size_t>(index)];
}

int IpAddressEdit::IndexOf(const QObject* field) const {
    const auto it = std::find(m_fields.begin(), m_fields.end(), field);
    return it == m_fields.end() ? -1 : static_cast<int>(it - m_fields.begin());
}

void IpAddressEdit::FocusField(int index, bool atEnd) {
    QLineEdit* field = Field(index);
    if (field == nullptr) return;
    field->setFocus(Qt::OtherFocusReason);
    if (atEnd) {
        field->deselect();
        field->end(false);
    } else {
        field->selectAll();
    }
}

void IpAddressEdit::OnFieldEdited(int index) {
    QLineEdit* field = Field(index);
    if (field->text().toInt() > kMaxOctet) field->setText(QString::number(kMaxOctet));
    // A full field hands over to the next one, so an address can be typed as plain digits.
    if (field->text().size() == kDigitsPerField && field->cursorPosition() == kDigitsPerField) {
        FocusField(index + 1, false);
    }
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = IndexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QLineEdit* field = m_fields[static_cast<std::size_t>(index)];
    const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
    const bool atEnd = field->cursorPosition() == field->text().size() && !field->hasSelectedText();
    const bool last = index == kFieldCount - 1;

    if (key->text() == QLatin1String(".") || key->text() == QLatin1String(" ")) {
        if (!last && !field->text().isEmpty()) FocusField(index + 1, false);
        return true;  // never typed into a field
    }
    switch (key->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Left:
            if (atStart && index > 0) {
                FocusField(index - 1, true);
                return true;
            }
            break;
        case Qt::Key_Right:
            if (atEnd && !last) {
                FocusField(index + 1, false);
                return true;
            }
            break;
        default:
            break;
    }
    return QFrame::eventFilter(watched, event);
}
