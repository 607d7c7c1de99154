// The program's own start: the application object (which owns the QApplication, so this suite
// runs in a process of its own), its name and palette, and the one modal run of the home page.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <string>
#include <vector>

#include "TestResources.h"
#include "UiDriver.h"
#include "app/SetupPilotApp.h"
#include "ui/wizard/HomePage.h"

namespace {

TEST(SetupPilotAppTest, StartsNamedAfterItsFileInTheDialogPaletteAndRunsTheHomePageUntilClosed) {
    // Only a program suffix is dropped, in any case (the start below drops ".exe").
    EXPECT_EQ(SetupPilotApp::NameFromProgramPath("./setup.pilot"), "setup.pilot");
    EXPECT_EQ(SetupPilotApp::NameFromProgramPath("SETUP.EXE"), "SETUP");
    char program[] = "/opt/orvane/SetupPilot.exe";
    char* argv[] = {program, nullptr};
    int argc = 1;
    SetupPilotApp app(argc, argv);
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("SetupPilot"));

    ScratchFolder folder;
    const QColor background(70, 80, 90);
    folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), background);
    std::vector<QColor> seen;
    UiDriver driver;
    driver
        .Then([&](CWizardPage& top) {
            seen = {top.grab().toImage().pixelColor(300, 280),
                    top.palette().color(QPalette::Window),
                    top.palette().color(QPalette::WindowText)};
        })
        .Click(CHomePage::kIdClose);
    driver.Start();
    app.InitInstance();
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(driver.Visited(), (std::vector<std::string>{"CHomePage", "CHomePage"}));
    // The home page of the current language, in the application's dialog colours.
    EXPECT_EQ(seen, (std::vector<QColor>{background, QColor(248, 252, 255), QColor(0, 0, 0)}));
}

}  // namespace

int main(int argc, char** argv) {
    // No display needed; the application object is made by the test itself.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
