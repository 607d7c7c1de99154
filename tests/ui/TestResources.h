#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <array>

// The four looks of every button strip the tests write, top to bottom.
inline const std::array<QColor, 4> kStripColours{QColor(255, 0, 0), QColor(0, 255, 0),
                                                 QColor(0, 0, 255), QColor(255, 255, 0)};
inline constexpr int kStripWidth = 60;
inline constexpr int kLookHeight = 20;

// A solid bitmap file.
bool WriteSolidBitmap(const QString& path, QSize size, const QColor& colour);
// A strip of four looks of lookHeight rows each, plus extraRows more rows of the last colour.
bool WriteStrip(const QString& path, int width, int lookHeight, int extraRows = 0,
                const std::array<QColor, 4>& colours = kStripColours);

// A scratch folder laid out as beside the program (res/<Language>/...), made the current
// directory for the object's life. Also puts the session's language back to English afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes every page background of a language in one colour and size, and every button strip:
    // the "_selected" strips of the language buttons in that colour too, all others in
    // kStripColours, so a test sees which language a strip marks and from which folder.
    void AddLanguage(const QString& language, QSize pageSize, const QColor& background);
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previousDir_;
};
