#pragma once

#include <span>
#include <string>

#include "resources/PageTexts.h"

// What a screen reader says of each page template: the page's heading (its accessible name), the
// drawn instructions (its accessible description) and, for every control a user acts on, the
// words that name it on the page (drawn on its button, or beside it).

struct ControlName {
    int id;
    PageText text;
};

struct PageAccessibility {
    int templateId;
    bool alternate;  // the page's second look (see PageTemplate::alternateBackground)
    PageText heading;
    std::span<const PageText> body;
    std::span<const ControlName> controls;
};

// The entry for the template in the look it is shown with; the first look when the template has
// no second one; nullptr for a template without an entry.
const PageAccessibility* FindPageAccessibility(int templateId, bool alternate);
std::span<const PageAccessibility> AllPageAccessibility();

// The text naming the control, or nullptr when the page does not name it.
const PageText* FindControlName(const PageAccessibility& page, int controlId);

// The body texts in the language, one paragraph per line.
std::string PageDescription(const PageAccessibility& page, PageLanguage language);
