#pragma once

#include <QFont>
#include <cstddef>
#include <string>
#include <string_view>

#include "ui/services/MessageBoxService.h"

class CWizardPage;

// What the three account pages share: their message boxes, the font of their hidden labels,
// the texts of their edits as the modem will get them, and the remembered entries.

// Shows a message of the current language (one of the session's msg fields) with the message
// service of the current context; nothing when no service is installed.
void ShowPageMessage(CWizardPage& page, std::string_view text,
                     MessageIcon icon = MessageIcon::Exclamation);

// Puts the keyboard focus on a template control of the page.
void FocusControl(CWizardPage& page, int id);

// The 12-pixel normal-weight Arial of the labels and check boxes; the labels are hidden and the
// boxes show no caption, so it only matters for the artwork's alignment.
QFont PageLabelFont();

// The UTF-8 text of a line edit (or an address control) of the page; empty when there is none.
std::string ControlText(const CWizardPage& page, int id);
void SetControlText(CWizardPage& page, int id, std::string_view text);

// Copies a text into a remembered-entry buffer. The buffer holds 259 bytes; a longer text is
// shortened at a character boundary, so that what is put back into an edit is still valid text.
void Remember(char* dst, std::size_t capacity, std::string_view text);
template <std::size_t N>
void Remember(char (&dst)[N], std::string_view text) {
    Remember(dst, N, text);
}
