// The desktop shell service for real, in a desktop of the test's own: a scratch XDG layout whose
// applications are scripts that write down the arguments they were started with. Each request
// runs in shell_probe, a process of its own, since the desktop reads its associations once.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <map>
#include <utility>

#include "ui/services/ShellService.h"

namespace {

// Each application's types and what follows the program in its Exec= line.
const std::map<QString, std::pair<QString, QString>> kApps{
    {"viewer", {"application/pdf", "%f"}},
    {"web", {"text/html", "%u"}},
    {"browser", {"x-scheme-handler/https;text/html", "--tab %u"}},
    {"quoted", {"text/html", "--new-window \"%u\" --after"}},
};

struct Case {
    QString apps;     // the applications installed, by name
    QString request;  // shell_probe's arguments; "@" is the folder beside the program
    int result;
    QString markers;  // ","-separated: "NAME=ARGUMENTS" written, then "NAME=" never written
};

void RunCase(const Case& c) {
    SCOPED_TRACE((c.request + " with " + c.apps).toStdString());
    QTemporaryDir temp;
    const QString root = temp.path(), beside = root + "/beside";
    const auto write = [&root](const QString& relative, const QByteArray& text, bool exec = false) {
        QDir().mkpath(QFileInfo(root + "/" + relative).path());
        QFile file(root + "/" + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        if (exec) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    // Writes its arguments into markers/NAME.
    const auto script = [&root](const QString& name) {
        return ("#!/bin/sh\nprintf '%s' \"$*\" > '" + root + "/markers/" + name + "'\n").toUtf8();
    };
    QDir().mkpath(root + "/markers");
    write("XDG_DATA_DIRS/mime/globs2", "50:application/pdf:*.pdf\n50:text/html:*.html\n");
    QByteArray cache = "[MIME Cache]\n";
    for (const QString& app : c.apps.split(' ', Qt::SkipEmptyParts)) {
        const auto& [types, arguments] = kApps.at(app);
        write("bin/" + app, script(app), true);
        write("XDG_DATA_HOME/applications/" + app + ".desktop",
              ("[Desktop Entry]\nType=Application\nName=" + app + "\nExec=" + root + "/bin/" + app +
               " " + arguments + "\nMimeType=" + types + ";\n")
                  .toUtf8());
        for (const QString& type : types.split(';'))
            cache += (type + "=" + app + ".desktop;\n").toUtf8();
    }
    write("XDG_DATA_HOME/applications/mimeinfo.cache", cache);
    // A manual that is also a script, and a script without the execute bit: neither may run.
    write("beside/Docs/Manual.pdf", script("manual"), true);
    write("beside/Docs/QIG.pdf", "%PDF-1.4\n%%EOF\n");
    write("beside/Support/SupportDesk",
          "#!/bin/sh\npwd > '" + root.toUtf8() + "/markers/support'\n", true);
    write("beside/Support/notes.txt", script("notes"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Each folder of the desktop is named after the variable that points at it.
    for (const char* name :
         {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
        env.insert(name, root + "/" + name);
    env.insert("GIO_USE_VFS", "local");
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + root + "/no-bus");
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(SHELL_PROBE_PATH),
                QString(c.request).replace("@", beside).split(' '));
    ASSERT_TRUE(probe.waitForFinished(10000) && probe.exitCode() == 0);
    EXPECT_EQ(probe.readAllStandardOutput().trimmed().toInt(), c.result);
    int waitMs = 300;  // for a marker that must not appear, unless another was waited for
    for (const QString& marker : c.markers.split(',', Qt::SkipEmptyParts)) {
        const QString want = marker.section('=', 1).replace("@", beside);
        QFile file(root + "/markers/" + marker.section('=', 0, 0));
        const auto written = [&file] {
            file.close();
            return file.open(QIODevice::ReadOnly) && file.size() > 0;
        };
        const bool came = QTest::qWaitFor(written, want.isEmpty() ? waitMs : 5000);
        EXPECT_EQ(came ? QString::fromUtf8(file.readAll()) : QString(), want);
        if (!want.isEmpty()) waitMs = 0;
    }
}

// Documents open only with an application for their type, never as programs; programs start in
// their folder and only when executable; web addresses go to the handler of their scheme, else
// to the HTML application's command cut at its placeholder with the address appended.
TEST(DesktopShellServiceTest, EachRequestStartsOnlyWhatTheDesktopNamesForIt) {
    const QString url = "url https://example.test/";
    const Case cases[] = {
        {"viewer", "document @/Docs QIG.pdf", kShellOk, "viewer=@/Docs/QIG.pdf"},
        {"web", "document @/Docs QIG.pdf", kShellNoAssociation, "web="},
        // A manual marked executable is opened by the viewer, and without one not at all.
        {"viewer", "document @/Docs Manual.pdf", kShellOk, "viewer=@/Docs/Manual.pdf,manual="},
        {"", "document @/Docs Manual.pdf", kShellNoAssociation, "manual="},
        {"viewer", "document @/NoDocs QIG.pdf", kShellPathNotFound, "viewer="},
        {"viewer", "document @/Docs Qig_german.pdf", kShellFileNotFound, "viewer="},
        // The support tool runs in its own folder; a file without the execute bit never runs.
        {"", "program @/Support SupportDesk", kShellOk, "support=@/Support\n"},
        {"", "program @/Support notes.txt", kShellAccessDenied, "notes="},
        {"", "program @/Acrobat AdbeRdr", kShellPathNotFound, ""},
        {"", "program @/Support AdbeRdr", kShellFileNotFound, ""},
        {"browser", url, kShellOk, "browser=--tab https://example.test/"},
        {"quoted", url, kStartOk, "quoted=--new-window https://example.test/"},
        {"viewer", url, kShellNoAssociation, "viewer="},
    };
    for (const Case& c : cases) RunCase(c);
}

}  // namespace
