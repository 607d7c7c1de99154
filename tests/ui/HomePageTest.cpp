#include <gtest/gtest.h>

#include <QDir>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "FakeShellService.h"
#include "RecordingMessageBoxService.h"
#include "TestResources.h"
#include "core/session/SessionFields.h"
#include "ui/services/MessageBoxService.h"
#include "ui/services/ShellService.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

using Strings = std::vector<std::string>;

class HomePageTest : public ::testing::Test {
protected:
    HomePageTest() : context(WizardContext{&boxes, &shell, {}}) {}

    // Each request to the shell as "what target folder".
    Strings Calls() const {
        Strings calls;
        for (const auto& call : shell.Calls())
            calls.push_back(call.what + " " + call.target + " " + call.folder);
        return calls;
    }
    std::string Native(const char* subfolder) const {
        return QDir::toNativeSeparators(folder.Path() + "/" + subfolder).toStdString();
    }
    // A home page in a language, with a fresh desktop that opens only the file opens.
    CHomePage& Home(int language, const char* opens = "", int otherwise = kShellFileNotFound) {
        shell = FakeShellService();
        shell.results[opens] = kShellOk;
        shell.defaultResult = otherwise;
        boxes.Clear();
        Session().languageIndex = language;
        home = std::make_unique<CHomePage>(ResourcePath("home.bmp"), nullptr);
        return *home;
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    FakeShellService shell;
    ScopedWizardContext context;
    std::unique_ptr<CHomePage> home;
};

// A missing translation of the guide falls back to the English one (English tries the same file
// twice); the manual is the same file in every language. Only a result below 32 is a failure, and
// an index outside the table reads as English.
TEST_F(HomePageTest, DocumentsOpenFromDocsElseTheViewerMessageShowsInThePagesLanguage) {
    const std::string germanGuide =
        "Sie müssen den Adobe Acrobat Reader vor dem Öffnen des "
        "Quick Installation Guides installieren!";
    const std::string englishGuide =
        "You must install Adobe Acrobat Reader before you open quick installation guide!";
    const std::string italianManual =
        "Occorre installare Adobe Acrobat Reader prima di aprire il manuale utente!";
    const std::string englishManual =
        "You must install Adobe Acrobat Reader before you open user's manual!";
    struct Case {
        bool guide;
        int language;
        const char* opens;  // the one file the desktop opens, if any
        int otherwise;      // the result for any other
        Strings tried, messages;
    };
    const Case cases[] = {
        {true, 2, "", kShellFileNotFound, {"Qig_german.pdf", "QIG.pdf"}, {germanGuide}},
        {true, 0, "", kShellFileNotFound, {"QIG.pdf", "QIG.pdf"}, {englishGuide}},
        {true, 4, "QIG.pdf", kShellFileNotFound, {"Qig_spanish.pdf", "QIG.pdf"}, {}},
        {true, 1, "Qig_french.pdf", kShellFileNotFound, {"Qig_french.pdf"}, {}},
        {false, 3, "", kShellNoAssociation, {"Manual.pdf"}, {italianManual}},
        {false, -1, "", kShellPathNotFound, {"Manual.pdf"}, {englishManual}},
        {false, 2, "", 32, {"Manual.pdf"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tried.front() + " " + std::to_string(c.language));
        CHomePage& page = Home(c.language, c.opens, c.otherwise);
        c.guide ? page.OnViewGuide() : page.OnViewManual();
        // The guide's pauses between attempts run on timers: nothing has been shown yet.
        EXPECT_TRUE(!c.guide || boxes.Entries().empty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !page.GuidePending(); }, 5000));
        Strings tried;
        for (const std::string& file : c.tried)
            tried.push_back("open " + file + " " + Native("Docs"));
        EXPECT_EQ(Calls(), tried);
        Strings texts;
        for (const auto& entry : boxes.Entries()) {
            EXPECT_EQ(entry.icon, MessageIcon::Information);
            EXPECT_EQ(entry.caption, QCoreApplication::applicationName().toStdString());
            texts.push_back(entry.text);
        }
        EXPECT_EQ(texts, c.messages);
    }
}

// Programs, never documents: they get the call that starts programs, and fail silently.
TEST_F(HomePageTest, InstallerAndSupportToolStartFromTheirFoldersAndFailSilently) {
    CHomePage& page = Home(0);
    page.OnInstallAcrobat();
    page.OnSupport();
    const std::string suffix(kExecutableSuffix);
    EXPECT_EQ(Calls(), (Strings{"program AdbeRdr" + suffix + " " + Native("Acrobat"),
                                "program SupportDesk" + suffix + " " + Native("Support")}));
    EXPECT_TRUE(boxes.Entries().empty());
}

}  // namespace
