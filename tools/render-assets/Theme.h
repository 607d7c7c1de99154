#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// Colours and type of the artwork. One palette for every page and button, so the pages read as
// one product.
namespace theme {

inline const QColor kHeaderLeft{0x0E, 0x3B, 0x5E};
inline const QColor kHeaderRight{0x17, 0x5E, 0x8F};
inline const QColor kHeaderRule{0x3A, 0xB0, 0xE2};
inline const QColor kHeaderText{0xFF, 0xFF, 0xFF};
inline const QColor kHeaderSubtle{0xB9, 0xD6, 0xEC};

// The dialog colour the program erases with where no bitmap covers; the body matches it.
inline const QColor kBody{248, 252, 255};
inline const QColor kCard{0xFF, 0xFF, 0xFF};
inline const QColor kCardBorder{0xD5, 0xE1, 0xEC};
inline const QColor kFooter{0xED, 0xF3, 0xF8};
inline const QColor kFooterRule{0xD3, 0xDE, 0xE8};

inline const QColor kText{0x1D, 0x2B, 0x3A};
inline const QColor kTextMuted{0x4C, 0x5B, 0x6A};
inline const QColor kTextHint{0x61, 0x70, 0x7F};
inline const QColor kTitle{0x10, 0x3A, 0x5C};

inline const QColor kAccent{0x1C, 0x78, 0xB5};
inline const QColor kAccentDark{0x14, 0x5E, 0x90};
inline const QColor kAccentLight{0xE3, 0xF1, 0xFA};
inline const QColor kSuccess{0x2E, 0x9E, 0x6A};
inline const QColor kSuccessDark{0x23, 0x80, 0x55};

inline const QColor kDeviceBody{0xF2, 0xF5, 0xF8};
inline const QColor kDeviceEdge{0x8A, 0x9B, 0xAD};
inline const QColor kDeviceDark{0x3B, 0x4A, 0x5A};
inline const QColor kLedOn{0x3C, 0xC8, 0x7A};
inline const QColor kCable{0x5D, 0x6E, 0x80};

enum class Face { Regular, Semibold, Bold };

// Loads the typefaces from their files. Returns an empty string on success, else what is
// missing. Must run once, after the QGuiApplication exists, before any Font().
QString LoadFonts();

// The typeface at a pixel size (pixels, not points: the result does not depend on any device's
// resolution), with hinting fixed so it does not follow desktop settings either.
QFont Font(Face face, int pixelSize);

}  // namespace theme
