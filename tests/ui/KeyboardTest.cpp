// The wizard by keyboard alone: Tab and Shift+Tab walk every page's controls in reading order,
// Space presses the focused button, Enter and Escape do nothing, and only focus moved by the
// keyboard shows a ring on a button.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ModemSim.h"
#include "ProgressTestSupport.h"
#include "RecordingMessageBoxService.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "detection/adapters/NetworkAdapters.h"
#include "ui/controls/HoverButton.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

using Ids = std::vector<int>;

// The template id of the page's control that holds the focus (an address field counts as its
// address control), or 0.
int FocusedId(CWizardPage& page) {
    QWidget* focus = QApplication::focusWidget();
    while (focus != nullptr && focus->parentWidget() != &page) focus = focus->parentWidget();
    return focus != nullptr ? focus->objectName().toInt() : 0;
}

void Press(CWizardPage& page, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &page, key, modifiers);
}

// Presses Tab (or Shift+Tab) until the focus comes back to where it started; the stops in order.
Ids Walk(CWizardPage& page, Qt::KeyboardModifiers modifiers) {
    Ids stops{FocusedId(page)};
    for (int i = 0; i < 40; ++i) {
        Press(page, Qt::Key_Tab, modifiers);
        if (FocusedId(page) == stops.front()) break;
        stops.push_back(FocusedId(page));
    }
    return stops;
}

// Tabs forward until the control has the focus.
void TabTo(CWizardPage& page, int id) {
    for (int i = 0; i < 40 && FocusedId(page) != id; ++i) Press(page, Qt::Key_Tab);
}

// Keys pressed on a control after tabbing to it, then text typed into it.
struct Entry {
    int id;
    std::vector<Qt::Key> keys;
    QString text;
};

struct KeyboardCase {
    const char* name;
    const char* accountPage;
    std::map<std::string, std::vector<Entry>> entries;
    Ids accountAfter;  // the account page's Tab stops once the entries are made, from the last
    std::string wan;   // the WAN request the run's entries make
};

const Ids kRow{1015, 1013, 1014};  // Exit, Back, Next as drawn
// Each page's Tab stops, from the first one.
const std::map<std::string, Ids> kChains{
    {"CHomePage", {1003, 1004, 1005, 1006, 1002, 1016, 1089}},
    {"CGuidePage1", kRow},
    {"CGuidePage2", kRow},
    {"CGuidePage3", kRow},
    {"CModemFoundPage", {1015, 1014}},
    {"CIspPage", {1023, 1024, 1019, 1020, 1021, 1022, 1015, 1013, 1014}},
    {"CPppPage", {1026, 1027, 1059, 1060, 1015, 1013, 1014}},
    // Tab stops at the checked radio of each group; the addresses are off while obtained.
    {"CWanIpPage", {1029, 1031, 1033, 1015, 1013, 1014}},
    {"CWirelessPage", {1050, 1048, 1060, 1015, 1013, 1014}},
    {"CFinishPage", {1015}},
};

// The country "Other", the protocol chosen with the keys given, VPI 8 and VCI 35.
std::vector<Entry> Isp(std::vector<Qt::Key> protocol) {
    return {{1023, {Qt::Key_Home}, {}},
            {1019, std::move(protocol), {}},
            {1020, {Qt::Key_Home}, {}},
            {1021, {}, "8"},
            {1022, {}, "35"}};
}

TEST(KeyboardRun, HomeToFinalPageByTabSpaceAndTyping) {
    ScratchFolder folder;
    folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(40, 80, 120));
    WriteDhcpHelper("exit 0");
    RecordingMessageBoxService boxes;
    WizardContext wizard;
    wizard.messageBox = &boxes;
    InstallWizardFlow(wizard);
    ScopedWizardContext context(std::move(wizard));
    ScopedProgressSettings settings(QuickProgressSettings());
    const std::string wan = "wancfg.wzd?method=set&edit=0&ntwkPrtcl=";
    KeyboardCase runs[] = {
        {"PPPoE",
         "CPppPage",
         {{"CIspPage", Isp({Qt::Key_Home})},
          {"CPppPage", {{1026, {}, "anna"}, {1027, {}, "secret"}}}},
         {1027, 1059, 1060, 1015, 1013, 1014, 1026},
         wan + "0&encapMode=0&atmVpi=8&atmVci=35&pppUserName=anna&pppPassword=secret"
               "&pppServerName="},
        {"MER",
         "CWanIpPage",
         {{"CIspPage", Isp({Qt::Key_Home, Qt::Key_Down, Qt::Key_Down})},
          {"CWanIpPage",
           {{1029, {Qt::Key_Down}, {}}, {1040, {}, "10.0.0.2"}, {1041, {}, "255.255.255.0"}}}},
         // A fixed address: its radio and one stop per address control.
         {1041, 1031, 1033, 1015, 1013, 1014, 1030, 1040},
         wan + "2&encapMode=0&atmVpi=8&atmVci=35&enblDhcpClnt=0&wanIpAddress=10.0.0.2"
               "&wanSubnetMask=255.255.255.0&enblAuto=1&dnsDynamic=1"},
    };
    const std::string address = "127.0.0.230";
    for (KeyboardCase& run : runs) {
        SCOPED_TRACE(run.name);
        ASSERT_TRUE(WaitForWorkers(10000));
        std::destroy_at(&Session());
        std::construct_at(&Session());
        ModemSim sim(address);
        std::string error;
        ASSERT_TRUE(sim.Start(&error)) << error;
        setenv(kSimulatedModemVariable, address.c_str(), 1);
        run.entries["CWirelessPage"] = {{1050, {}, "Anna"}};
        std::map<std::string, Ids> forward, backward;
        UiDriver driver(20000);
        const std::vector<std::string> pages{"CHomePage",     "CGuidePage1",     "CGuidePage2",
                                             "CGuidePage3",   "CModemFoundPage", "CIspPage",
                                             run.accountPage, "CWirelessPage",   "CFinishPage"};
        for (const std::string& page : pages) {
            // Keys go to the active window: each page's turn comes once it is.
            const auto active = [page](CWizardPage& top) {
                return top.isActiveWindow() && page == top.metaObject()->className();
            };
            driver.When(active, [&, page](CWizardPage& top) {
                forward[page] = Walk(top, Qt::NoModifier);
                backward[page] = Walk(top, Qt::ShiftModifier);
                for (const Entry& entry : run.entries[page]) {
                    TabTo(top, entry.id);
                    for (Qt::Key key : entry.keys) Press(top, key);
                    // Each key to the focused field, as the dot moves on in an address.
                    for (QChar c : entry.text) QTest::keyClicks(QApplication::focusWidget(), c);
                }
                if (page == run.accountPage) forward["after"] = Walk(top, Qt::NoModifier);
                TabTo(top, page == "CHomePage"     ? CHomePage::kIdStart
                           : page == "CFinishPage" ? kIdExit
                                                   : kIdNext);
                for (Qt::Key inert : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                    Press(top, inert);
                }
                if (UiDriver::TopPage() != &top) throw std::runtime_error("a key ended " + page);
                Press(top, Qt::Key_Space);
            });
        }
        driver.Start();
        CHomePage home(ResourcePath("home.bmp"), nullptr);
        home.DoModal();
        EXPECT_TRUE(driver.Finished());
        for (const std::string& page : pages) {
            const Ids& chain = kChains.at(page);
            EXPECT_EQ(forward[page], chain) << page;
            Ids back{chain.front()};
            back.insert(back.end(), chain.rbegin(), chain.rend() - 1);
            EXPECT_EQ(backward[page], back) << page;
        }
        EXPECT_EQ(forward["after"], run.accountAfter);
        ASSERT_EQ(sim.Requests().size(), 5u);
        EXPECT_EQ(sim.Requests()[2], run.wan);
        EXPECT_EQ(sim.Requests()[3], "wl.wzd?method=set&wlSsid=Anna&wlChannel=0&wlAuthMode=open");
        EXPECT_TRUE(boxes.Entries().empty());
    }
    unsetenv(kSimulatedModemVariable);
}

// A language chosen from the list by keyboard rebuilds the home page with the list in focus.
TEST(KeyboardRun, LanguageListKeepsTheFocusAcrossTheRebuild) {
    ScratchFolder folder;
    folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(40, 80, 120));
    WizardContext wizard;
    InstallWizardFlow(wizard);
    ScopedWizardContext context(std::move(wizard));
    Session().languageIndex = 0;
    int focused = 0;
    UiDriver driver;
    driver.When([](CWizardPage& top) { return top.isActiveWindow(); },
                [](CWizardPage& top) {
                    TabTo(top, CHomePage::kIdLanguageList);
                    Press(top, Qt::Key_Down);
                });
    driver.When([](CWizardPage& top) { return top.isActiveWindow() && top.Owner() != nullptr; },
                [&focused](CWizardPage& top) {
                    focused = FocusedId(top);
                    UiDriver::CloseAllPages();
                });
    driver.Start();
    CHomePage(ResourcePath("home.bmp"), nullptr).DoModal();
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(focused, CHomePage::kIdLanguageList);
    EXPECT_EQ(Session().languageIndex, 1);
    std::destroy_at(&Session());
    std::construct_at(&Session());
}

// Focus given by a click or by the program looks like no focus at all; focus moved by Tab shows
// a ring. Space on the focused button clicks it once; Enter and Escape do not.
TEST(HoverButtonKeys, OnlyKeyboardFocusShowsAndSpaceClicks) {
    QTemporaryDir dir;
    const QString strip = dir.filePath(QStringLiteral("strip.png"));
    QImage image(60, 80, QImage::Format_RGB32);
    image.fill(QColor(200, 220, 240));
    ASSERT_TRUE(image.save(strip));
    QWidget window;
    CHoverButton first(&window), second(&window);
    for (CHoverButton* button : {&first, &second}) button->LoadBitmaps(strip);
    second.move(0, 30);
    int clicks = 0;
    QObject::connect(&second, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QImage plain = second.grab().toImage();
    for (Qt::FocusReason reason : {Qt::OtherFocusReason, Qt::MouseFocusReason}) {
        second.setFocus(reason);
        ASSERT_TRUE(second.hasFocus());
        EXPECT_EQ(second.grab().toImage(), plain) << reason;
        first.setFocus(Qt::OtherFocusReason);
    }
    QTest::keyClick(&first, Qt::Key_Tab);
    ASSERT_TRUE(second.hasFocus());
    EXPECT_NE(second.grab().toImage(), plain);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        QTest::keyClick(&second, key);
    }
    EXPECT_EQ(clicks, 1);
}

}  // namespace
