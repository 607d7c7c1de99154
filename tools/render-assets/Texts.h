#pragma once

#include <QString>

#include "Language.h"
#include "resources/PageTexts.h"

// Every text the page bitmaps and button strips show: the program's own table of page texts.
using Text = PageText;

QString Tr(Text text, Language language);
