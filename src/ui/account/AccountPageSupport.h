#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CWizardPage;

// What the three account pages share: the texts of their edits as the modem will get them, and
// the remembered entries.

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
