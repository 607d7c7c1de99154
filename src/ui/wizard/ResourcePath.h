#pragma once

#include <QPixmap>
#include <QString>
#include <functional>
#include <string_view>
#include <vector>

// The path of a bitmap of the current language: the current directory, the session's language
// folder and the file name. Built anew on every call, so a language change takes effect for
// every path built after it.
QString ResourcePath(std::string_view file);

// The picture of the page built from this template, in the language in force: the template's
// background, or its alternate look.
QString PageBitmap(int templateId, bool alternate = false);

// A folder beside the program: the current directory and the folder name.
QString BesideProgram(std::string_view folder);

// The file to load for the picture at path (a page-pixel file) on a screen of this device pixel
// ratio: path itself at ratio 1, its double-density file beside it at any higher ratio when
// exists says it is there, else path again.
QString ArtFileForRatio(const QString& path, qreal ratio,
                        const std::function<bool(const QString&)>& exists);

// Loads the picture for the ratio. A double-density file comes back with device pixel ratio 2,
// so it covers the same logical pixels as the page-pixel file; screens between 1 and 2 get it
// scaled down when drawn with smooth pixmap transformation. Null when nothing can be loaded.
QPixmap LoadArt(const QString& path, qreal ratio);

// Starts decoding, on a worker thread, the pictures LoadArt is about to be asked for (the pages
// that can follow the one shown, a page's own background while it is being built), so a page at
// a high ratio does not decode four times the pixels on the UI thread. Pictures prepared earlier
// and not listed again are let go. LoadArt takes a prepared picture, waiting for it if its
// decoding has started, and decodes one that is still queued itself.
void PrepareArt(const std::vector<QString>& paths, qreal ratio);

// The logical size LoadArt's picture will have, read from the file's header only; invalid when
// the file cannot be read.
QSize ArtSize(const QString& path, qreal ratio);

// The templates of the pages a page (given by its template) can open next, whose pictures it
// prepares while it is shown. Installed with the wizard's flow; unset, nothing is prepared.
using PagesAhead = std::function<std::vector<int>(int templateId)>;
void SetPagesAhead(PagesAhead pagesAhead);
const PagesAhead& PagesAheadOf();
