#pragma once

#include <QString>
#include <string_view>

// The path of a bitmap of the current language: the current directory, the session's language
// folder and the file name. Built anew on every call, so a language change takes effect for
// every path built after it.
QString ResourcePath(std::string_view file);

// The picture of the page built from this template, in the language in force: the template's
// background, or its alternate look.
QString PageBitmap(int templateId, bool alternate = false);

// A folder beside the program: the current directory and the folder name.
QString BesideProgram(std::string_view folder);
