#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

#include "Figures.h"
#include "Language.h"
#include "TextFit.h"
#include "Texts.h"

// The button strips: one file per button, the button's width wide and four looks high, stacked
// top to bottom: normal, pressed, hovered, and a greyed fourth look the button never draws.

enum class ButtonLook {
    Primary,           // Next
    Secondary,         // Exit, Back, Close
    Call,              // Start and the final page's button
    Menu,              // the home page's document and support column
    LanguageChoice,    // a language button, not the current language
    LanguageSelected,  // the current language's button
};

enum class Quarter { Normal = 0, Pressed = 1, Hovered = 2, Unused = 3 };

struct ButtonStrip {
    const char* file;
    QSize size;  // one look
    ButtonLook look;
    Text label;                                // ignored for language buttons
    Language named = Language::English;        // the language a language button stands for
    figures::Icon icon = figures::Icon::Book;  // menu buttons only
};

const std::vector<ButtonStrip>& ButtonStrips();
// The button of a strip file, or nullptr.
const ButtonStrip* FindButton(const QString& file);

// The label of one look, fitted into its face.
PlacedText LayoutButtonLabel(const ButtonStrip& button, Language language, Quarter quarter);
// scale 2: the same strip drawn with twice the pixels, each look twice as high.
QImage PaintStrip(const ButtonStrip& button, Language language, int scale = 1);
