#pragma once

#include <string_view>

#include "core/session/SessionFields.h"

// The wizard's five languages and the one it starts in: the desktop's, when it is one of them.
// Index 0 English, 1 French, 2 German, 3 Italian, 4 Spanish.

// The language of a locale name such as "fr_FR.UTF-8", "de_CH@euro" or "it": its index, or -1
// when the name is none of the five ("C", "POSIX", "nl_NL.UTF-8", "").
int LanguageOfLocale(std::string_view locale);

// The language of the desktop's messages. The first of LC_ALL, LC_MESSAGES and LANG that is set
// and not empty decides, as in the C library (nullptr stands for an unset variable); English when
// that locale is none of the five or none is set.
int DesktopLanguage(const char* lcAll, const char* lcMessages, const char* lang);

// The folder of a language's bitmaps, relative to the bundle: "res/English" ... "res/Spanish";
// English's for an index outside 0..4.
const char* LanguageFolder(int index);

// Makes index the session's language: the index is stored as it is, the folder is the one of
// LanguageFolder.
void SetLanguage(SessionFields& session, int index);
