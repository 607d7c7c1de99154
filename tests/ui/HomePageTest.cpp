#include <gtest/gtest.h>

#include <QDir>
#include <QtTest/QTest>
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

    void SetLanguage(int index) { Session().languageIndex = index; }

    Strings OpenedFiles() const {
        Strings files;
        for (const auto& call : shell.Calls()) files.push_back(call.target);
        return files;
    }

    // The texts of the boxes shown.
    Strings Texts() const {
        Strings texts;
        for (const auto& entry : boxes.Entries()) texts.push_back(entry.text);
        return texts;
    }
    std::string Native(const char* subfolder) const {
        return QDir::toNativeSeparators(folder.Path() + "/" + subfolder).toStdString();
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    FakeShellService shell;
    ScopedWizardContext context;
};

TEST_F(HomePageTest, GuideTriesTheTranslationThenTheEnglishGuideThenComplains) {
    struct Case {
        int language;
        std::vector<std::pair<std::string, int>> results;
        std::vector<std::string> tried;
        const char* message;  // nullptr: none
    };
    const Case cases[] = {
        {2,
         {},
         {"Qig_german.pdf", "QIG.pdf"},
         "Sie müssen den Adobe Acrobat Reader vor dem Öffnen des Quick Installation Guides "
         "installieren!"},
        // English tries the same file twice.
        {0,
         {},
         {"QIG.pdf", "QIG.pdf"},
         "You must install Adobe Acrobat Reader before you open quick installation guide!"},
        {4, {{"QIG.pdf", kShellOk}}, {"Qig_spanish.pdf", "QIG.pdf"}, nullptr},
        {1, {{"Qig_french.pdf", kShellOk}}, {"Qig_french.pdf"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        shell = FakeShellService();
        boxes.Clear();
        for (const auto& [file, result] : c.results) shell.results[file] = result;
        SetLanguage(c.language);
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        home.OnViewGuide();
        // The pauses between attempts run on timers: nothing has been shown yet.
        EXPECT_TRUE(boxes.Entries().empty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !home.GuidePending(); }, 5000));
        EXPECT_EQ(OpenedFiles(), c.tried);
        for (const auto& call : shell.Calls()) EXPECT_EQ(call.folder, Native("Docs"));
        EXPECT_EQ(Texts(), c.message ? Strings{c.message} : Strings{});
        for (const auto& entry : boxes.Entries()) {
            EXPECT_EQ(entry.icon, MessageIcon::Information);
            EXPECT_EQ(entry.caption, QCoreApplication::applicationName().toStdString());
        }
    }
}

TEST_F(HomePageTest, ManualIsTheSameFileInEveryLanguageAndOnlyTheMessageIsLocalised) {
    struct Case {
        int language;
        int result;
        const char* message;  // nullptr: none
    };
    const Case cases[] = {
        {0, kShellFileNotFound,
         "You must install Adobe Acrobat Reader before you open user's manual!"},
        {3, kShellNoAssociation,
         "Occorre installare Adobe Acrobat Reader prima di aprire il manuale utente!"},
        // An index outside the table reads as English.
        {-1, kShellPathNotFound,
         "You must install Adobe Acrobat Reader before you open user's manual!"},
        // Only a result below 32 is a failure.
        {2, 32, nullptr},
        {2, kShellOk, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        shell = FakeShellService();
        shell.defaultResult = c.result;
        boxes.Clear();
        SetLanguage(c.language);
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        home.OnViewManual();
        ASSERT_EQ(shell.Calls().size(), 1u);
        EXPECT_EQ(shell.Calls()[0].what, "open");
        EXPECT_EQ(shell.Calls()[0].target, "Manual.pdf");
        EXPECT_EQ(Texts(), c.message ? Strings{c.message} : Strings{});
    }
}

TEST_F(HomePageTest, InstallerAndSupportToolStartFromTheirFoldersAndFailSilently) {
    CHomePage home(ResourcePath("home.bmp"), nullptr);
    home.OnInstallAcrobat();
    home.OnSupport();
    // Programs, never documents: they get the call that starts programs.
    Strings calls;
    for (const auto& call : shell.Calls())
        calls.push_back(call.what + " " + call.target + " " + call.folder);
    const std::string suffix(kExecutableSuffix);
    EXPECT_EQ(calls, (Strings{"program AdbeRdr" + suffix + " " + Native("Acrobat"),
                              "program SupportDesk" + suffix + " " + Native("Support")}));
    EXPECT_TRUE(boxes.Entries().empty());
}

}  // namespace
