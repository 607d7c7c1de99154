#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "controls/LaunchUrl.h"
#include "platform/ShellService.h"

namespace {

constexpr const char* kAddress = "https://example.test/";

TEST(LaunchUrlTest, FallsBackToTheRegisteredCommandCutAtItsPlaceholder) {
    struct Case {
        const char* name;
        int urlResult;
        std::optional<std::string> registered;
        std::optional<std::string> started;  // command line run, if any
        int result;
    };
    const Case cases[] = {
        {"desktop handler works: nothing is looked up", kShellOk, "browser %u", std::nullopt,
         kShellOk},
        {"nothing registered: the desktop's failure", kShellNoAssociation, std::nullopt,
         std::nullopt, kShellNoAssociation},
        {"bare placeholder: cut there, arguments after it lost", kShellNoAssociation,
         "browser --new %U --private", "browser --new  https://example.test/", kStartOk},
        {"quoted placeholder is found before a bare one", 2, "browser %f \"%u\" -x",
         "browser %f  https://example.test/", kStartOk},
        {"no placeholder: address appended", kShellFileNotFound, "browser --flag",
         "browser --flag https://example.test/", kStartOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeShellService shell;
        shell.results[kAddress] = c.urlResult;
        shell.htmlCommand = c.registered;
        EXPECT_EQ(LaunchUrl(shell, kAddress), c.result);
        std::optional<std::string> started;
        bool lookedUp = false;
        for (const auto& call : shell.Calls()) {
            if (call.what == "start") started = call.target;
            if (call.what == "html") lookedUp = true;
        }
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(lookedUp, c.urlResult <= 32);
    }
}

// The desktop's handler fails; the registered HTML command is read from a real XDG layout.
class XdgShell final : public ShellService {
public:
    int OpenDocument(std::string_view, std::string_view) override { return kShellFileNotFound; }
    int OpenUrl(std::string_view) override { return kShellNoAssociation; }
    std::optional<std::string> HtmlOpenCommand() override { return real.HtmlOpenCommand(); }
    int StartDetached(std::string_view commandLine) override {
        started = std::string(commandLine);
        return kStartOk;
    }
    QtShellService real;
    std::optional<std::string> started;
};

void WriteFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(LaunchUrlTest, ReadsTheDefaultHtmlHandlersDesktopEntry) {
    struct Case {
        const char* name;
        const char* mimeapps;  // nullptr: no mimeapps.list at all
        const char* exec;      // Exec line of web.desktop; nullptr: no Exec line
        std::optional<std::string> started;
    };
    const Case cases[] = {
        {"quoted field code", "[Default Applications]\ntext/html=web.desktop;other.desktop;\n",
         "Exec=web-browser --new-window \"%u\"", "web-browser --new-window  https://example.test/"},
        {"bare field code", "[Default Applications]\ntext/html=web.desktop\n",
         "Exec=web-browser %U --incognito", "web-browser  https://example.test/"},
        {"no field code", "[Default Applications]\ntext/html=web.desktop\n", "Exec=web-browser",
         "web-browser https://example.test/"},
        {"html named only outside the defaults", "[Added Associations]\ntext/html=web.desktop\n",
         "Exec=web-browser %u", std::nullopt},
        {"entry without Exec", "[Default Applications]\ntext/html=web.desktop\n", nullptr,
         std::nullopt},
        {"no mimeapps.list", nullptr, "Exec=web-browser %u", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        const QString root = home.path();
        qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", (root + "/no-config").toUtf8());
        qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
        qputenv("XDG_DATA_DIRS", (root + "/no-data").toUtf8());
        if (c.mimeapps) WriteFile(root + "/config/mimeapps.list", c.mimeapps);
        QByteArray entry = "[Desktop Entry]\nType=Application\nName=Web\n";
        if (c.exec) entry += QByteArray(c.exec) + "\n";
        entry += "[Desktop Action new]\nExec=other-program %u\n";
        WriteFile(root + "/data/applications/web.desktop", entry);

        XdgShell shell;
        const int result = LaunchUrl(shell, kAddress);
        EXPECT_EQ(shell.started, c.started);
        EXPECT_EQ(result, c.started ? kStartOk : kShellNoAssociation);
    }
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
        qunsetenv(name);
    }
}

}  // namespace
