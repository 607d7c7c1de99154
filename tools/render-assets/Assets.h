#pragma once

#include <QString>
#include <QStringList>

// Every file the pages load from a language folder: the backgrounds and the button strips.
QStringList RequiredFiles();

// The double-density file drawn beside a file of RequiredFiles().
QString DoubleDensityFile(const QString& file);

// Draws every file in every language into outDir/<Language>/, each also at twice the pixels
// (DoubleDensityFile). With a preview folder, also
// writes a PNG of each into previewDir/<Language>/ for looking at. Returns the problems met
// (files that could not be written, texts that did not fit); empty on success.
QStringList RenderAll(const QString& outDir, const QString& previewDir = {});
