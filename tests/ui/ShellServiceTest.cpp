// The desktop shell service for real, in a desktop of the test's own: a scratch XDG layout
// (applications, associations and a small MIME database) whose applications are scripts that
// write down the arguments they were started with. Each request runs in shell_probe, a process
// of its own, since the desktop's associations are read once per process.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/services/ShellService.h"

namespace {

constexpr int kMarkerWaitMs = 5000;

struct App {
    const char* name;
    const char* mimeTypes;  // MimeType= of its desktop entry
    const char* arguments;  // what follows the program in Exec=
};

class ScratchDesktop {
public:
    ScratchDesktop() {
        for (const char* dir : {"config", "config-dirs", "data/applications", "share/mime", "home",
                                "bin", "markers", "beside/Docs", "beside/Support"}) {
            QDir().mkpath(Path(dir));
        }
        // The MIME database's plain glob list is enough for types chosen by file name.
        Write("share/mime/globs2",
              "50:application/pdf:*.pdf\n50:text/html:*.html\n50:text/html:*.htm\n");
    }

    QString Path(const QString& relative) const { return root_.filePath(relative); }

    void Write(const QString& relative, const QByteArray& text, bool executable = false) {
        QFile file(Path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
        file.write(text);
        file.close();
        if (executable) {
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                QFileDevice::ExeOther);
        }
    }

    // A script that writes its arguments into markers/NAME, and writes it once only whole.
    QByteArray MarkerScript(const QString& name) const {
        const QString marker = Path("markers/" + name);
        return ("#!/bin/sh\nprintf '%s' \"$*\" > '" + marker + ".part' && mv '" + marker +
                ".part' '" + marker + "'\n")
            .toUtf8();
    }

    // The application's script, its desktop entry, and the entry in the folder's cache of
    // types, which the desktop's package tools keep and the desktop reads.
    void AddApp(const App& app) {
        const QString name = QString::fromUtf8(app.name);
        Write("bin/" + name, MarkerScript(name), true);
        Write("data/applications/" + name + ".desktop",
              "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                  "\nExec=" + Path("bin/" + name).toUtf8() + " " + app.arguments +
                  "\nMimeType=" + app.mimeTypes + "\n");
        for (const QString& type :
             QString::fromUtf8(app.mimeTypes).split(';', Qt::SkipEmptyParts)) {
            types_[type] += name + ".desktop;";
        }
        QByteArray cache = "[MIME Cache]\n";
        for (const auto& [type, entries] : types_) cache += (type + "=" + entries + "\n").toUtf8();
        Write("data/applications/mimeinfo.cache", cache);
    }

    // The printed result of one shell_probe run in this desktop; -1 when it did not run.
    int Probe(const QStringList& arguments) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", Path("home"));
        env.insert("XDG_CONFIG_HOME", Path("config"));
        env.insert("XDG_CONFIG_DIRS", Path("config-dirs"));
        env.insert("XDG_DATA_HOME", Path("data"));
        env.insert("XDG_DATA_DIRS", Path("share"));
        env.insert("GIO_USE_VFS", "local");
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + Path("no-bus"));
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(SHELL_PROBE_PATH), arguments);
        if (!probe.waitForFinished(10000) || probe.exitCode() != 0) return -1;
        bool ok = false;
        const int result = probe.readAllStandardOutput().trimmed().toInt(&ok);
        return ok ? result : -1;
    }

    // What the application NAME was started with, once it has written it; nothing in time.
    std::optional<std::string> Marker(const QString& name, int waitMs = kMarkerWaitMs) const {
        QElapsedTimer clock;
        clock.start();
        QFile file(Path("markers/" + name));
        while (!file.exists()) {
            if (clock.elapsed() > waitMs) return std::nullopt;
            QThread::msleep(20);
        }
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        return file.readAll().toStdString();
    }

private:
    QTemporaryDir temp_;
    QDir root_{temp_.path()};
    std::map<QString, QString> types_;
};

struct Case {
    const char* name;
    std::vector<App> apps;
    QStringList request;  // shell_probe's arguments, "@" standing for the scratch folder
    int result;
    // Applications that must have run, with their arguments ("@" again), and those that must not.
    std::map<QString, std::string> ran;
    std::vector<QString> notRan;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDesktop desktop;
        const QString beside = desktop.Path("beside");
        for (const App& app : c.apps) desktop.AddApp(app);
        // A manual that is also a script: started as a program, it would leave its own marker.
        desktop.Write("beside/Docs/Manual.pdf", desktop.MarkerScript("manual-executed"), true);
        desktop.Write("beside/Docs/QIG.pdf", "%PDF-1.4\n%%EOF\n");
        desktop.Write("beside/Support/SupportDesk",
                      "#!/bin/sh\npwd > '" + desktop.Path("markers/support").toUtf8() + "'\n",
                      true);
        desktop.Write("beside/Support/notes.txt", "#!/bin/sh\ntouch notes-ran\n");
        QStringList request = c.request;
        request.replaceInStrings("@", beside);
        EXPECT_EQ(desktop.Probe(request), c.result);
        for (const auto& [app, arguments] : c.ran) {
            EXPECT_EQ(desktop.Marker(app),
                      QString::fromStdString(arguments).replace("@", beside).toStdString())
                << app.toStdString();
        }
        for (const QString& app : c.notRan) {
            EXPECT_EQ(desktop.Marker(app, 0), std::nullopt) << app.toStdString();
        }
    }
}

const App kViewer{"viewer", "application/pdf;", "%f"};

// Documents open only with an application for their type; programs start in their folder and
// only when executable; web addresses go to the handler of their scheme, else to the HTML
// application's command cut at its placeholder with the address appended.
TEST(DesktopShellServiceTest, EachRequestStartsOnlyWhatTheDesktopNamesForIt) {
    const QStringList url{"url", "https://example.test/"};
    RunCases({
        {"a viewer for PDF opens the guide",
         {kViewer},
         {"document", "@/Docs", "QIG.pdf"},
         kShellOk,
         {{"viewer", "@/Docs/QIG.pdf"}},
         {}},
        {"no application for PDF: nothing opens although the file is there",
         {{"web", "text/html;", "%u"}},
         {"document", "@/Docs", "QIG.pdf"},
         kShellNoAssociation,
         {},
         {"web"}},
        {"a manual marked executable is opened by the viewer, not run",
         {kViewer},
         {"document", "@/Docs", "Manual.pdf"},
         kShellOk,
         {{"viewer", "@/Docs/Manual.pdf"}},
         {"manual-executed"}},
        {"a manual marked executable without a viewer is not run either",
         {},
         {"document", "@/Docs", "Manual.pdf"},
         kShellNoAssociation,
         {},
         {"manual-executed"}},
        {"missing folder",
         {kViewer},
         {"document", "@/NoDocs", "QIG.pdf"},
         kShellPathNotFound,
         {},
         {"viewer"}},
        {"missing file",
         {kViewer},
         {"document", "@/Docs", "Qig_german.pdf"},
         kShellFileNotFound,
         {},
         {"viewer"}},
        {"the support tool runs in its own folder",
         {},
         {"program", "@/Support", "SupportDesk"},
         kShellOk,
         {{"support", "@/Support\n"}},
         {}},
        {"a file without the execute bit is not started",
         {},
         {"program", "@/Support", "notes.txt"},
         kShellAccessDenied,
         {},
         {}},
        {"missing folder", {}, {"program", "@/Acrobat", "AdbeRdr"}, kShellPathNotFound, {}, {}},
        {"missing program", {}, {"program", "@/Support", "AdbeRdr"}, kShellFileNotFound, {}, {}},
        {"a handler for the scheme",
         {{"browser", "x-scheme-handler/https;text/html;", "--tab %u"}},
         url,
         kShellOk,
         {{"browser", "--tab https://example.test/"}},
         {}},
        {"quoted field code: cut there",
         {{"web", "text/html;", "--new-window \"%u\" --after"}},
         url,
         kStartOk,
         {{"web", "--new-window https://example.test/"}},
         {}},
        {"no browser at all", {kViewer}, url, kShellNoAssociation, {}, {"viewer"}},
    });
}

}  // namespace
