#include "platform/ShellService.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The desktop entry named for text/html in the first mimeapps.list that names one, searched in
// the order the desktop itself uses (user's configuration first).
QString DefaultHtmlEntry() {
    QStringList lists;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ConfigLocation)) {
        lists << dir + QStringLiteral("/mimeapps.list");
    }
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        lists << dir + QStringLiteral("/mimeapps.list");
    }
    for (const QString& path : lists) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        bool inDefaults = false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('['))) {
                inDefaults = line == QStringLiteral("[Default Applications]");
            } else if (inDefaults && line.startsWith(QStringLiteral("text/html="))) {
                const QString entries = line.mid(10);
                const QString first = entries.section(QLatin1Char(';'), 0, 0).trimmed();
                if (!first.isEmpty()) return first;
            }
        }
    }
    return {};
}

// The Exec line of a desktop entry found in the applications folders.
QString ExecOfEntry(const QString& entry) {
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry,
                                                QStandardPaths::LocateFile);
    if (path.isEmpty()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
        } else if (inEntry && line.startsWith(QStringLiteral("Exec="))) {
            return line.mid(5);
        }
    }
    return {};
}

}  // namespace

int QtShellService::OpenDocument(std::string_view folder, std::string_view file) {
    const QString dir = ToQString(folder);
    if (!QDir(dir).exists()) return kShellPathNotFound;
    const QFileInfo info(QDir(dir).filePath(ToQString(file)));
    if (!info.exists()) return kShellFileNotFound;
    if (info.isFile() && info.isExecutable()) {
        return QProcess::startDetached(info.absoluteFilePath(), {}, dir) ? kShellOk
                                                                         : kShellOutOfResources;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()))
               ? kShellOk
               : kShellNoAssociation;
}

int QtShellService::OpenUrl(std::string_view address) {
    const QUrl url(ToQString(address));
    if (!url.isValid()) return kShellFileNotFound;
    return QDesktopServices::openUrl(url) ? kShellOk : kShellNoAssociation;
}

std::optional<std::string> QtShellService::HtmlOpenCommand() {
    const QString entry = DefaultHtmlEntry();
    if (entry.isEmpty()) return std::nullopt;
    const QString exec = ExecOfEntry(entry);
    if (exec.isEmpty()) return std::nullopt;
    return exec.toStdString();
}

int QtShellService::StartDetached(std::string_view commandLine) {
    QStringList parts = QProcess::splitCommand(ToQString(commandLine));
    if (parts.isEmpty()) return kShellFileNotFound;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts) ? kStartOk : kShellFileNotFound;
}

int FakeShellService::ResultFor(std::string_view target) const {
    const auto it = results.find(target);
    return it == results.end() ? defaultResult : it->second;
}

int FakeShellService::OpenDocument(std::string_view folder, std::string_view file) {
    calls_.push_back({"open", std::string(folder), std::string(file)});
    return ResultFor(file);
}

int FakeShellService::OpenUrl(std::string_view address) {
    calls_.push_back({"url", {}, std::string(address)});
    return ResultFor(address);
}

std::optional<std::string> FakeShellService::HtmlOpenCommand() {
    calls_.push_back({"html", {}, {}});
    return htmlCommand;
}

int FakeShellService::StartDetached(std::string_view commandLine) {
    calls_.push_back({"start", {}, std::string(commandLine)});
    return startResult;
}
