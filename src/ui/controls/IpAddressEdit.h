#pragma once

#include <QFrame>
#include <QString>
#include <array>

class QLineEdit;

// A dotted IPv4 address typed into four fields of 0 to 255. Only digits go in; a dot (or a
// space) moves to the next field, as does a third digit; Backspace in an empty field and the
// arrow keys at a field's edge move to the neighbour. A value above 255 becomes 255.
//
// text() always gives four numbers: a blank field reads as 0, so an untouched control reads
// "0.0.0.0". isBlank() tells an untouched control from one holding zeros.
class IpAddressEdit final : public QFrame {
    Q_OBJECT

public:
    static constexpr int kFieldCount = 4;
    static constexpr int kMaxOctet = 255;

    explicit IpAddressEdit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(IpAddressEdit)

    QString text() const;
    // Puts the parts of "a.b.c.d" into the fields; missing or malformed parts leave their field
    // blank, values above 255 read as 255. An empty text blanks the control.
    void setText(const QString& text);
    void clear();
    bool isBlank() const;

    QLineEdit* Field(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int IndexOf(const QObject* field) const;
    void FocusField(int index, bool atEnd);
    void OnFieldEdited(int index);

    std::array<QLineEdit*, kFieldCount> m_fields{};
};
