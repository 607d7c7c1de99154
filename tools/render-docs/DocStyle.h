#pragma once

#include <QFont>
#include <QString>

// Type and page geometry of the printed documents. They are laid out in units of 1/96 inch, the
// unit the page artwork and its figures are drawn in, on A4 paper; colours come from the
// artwork's palette (theme::), so the documents read as part of the same product.
namespace docstyle {

inline constexpr int kDpi = 96;
constexpr double Mm(double mm) {
    return mm * kDpi / 25.4;
}
constexpr double Pt(double pt) {
    return pt * kDpi / 72.0;
}

inline constexpr double kPageWidth = Mm(210);
inline constexpr double kPageHeight = Mm(297);
inline constexpr double kMarginLeft = Mm(22);
inline constexpr double kMarginRight = Mm(22);
inline constexpr double kBodyTop = Mm(30);
// 246 mm, in whole units: the text is cut into pages at multiples of this height, and those
// must fall exactly where the text layout puts them.
inline constexpr double kBodyHeight = 930;
inline constexpr double kBodyBottom = kBodyTop + kBodyHeight;
inline constexpr double kBodyWidth = kPageWidth - kMarginLeft - kMarginRight;

enum class Face { Regular, Italic, Semibold, Bold };

// Loads the typefaces from their files. Returns an empty string on success, else what is
// missing. Must run once, after the QGuiApplication exists, before any Font().
QString LoadFonts();

// The typeface at a size in points. Hinting is off, so the layout does not depend on any
// screen.
QFont Font(Face face, double points);

}  // namespace docstyle
