#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QtTest/QTest>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "ModemSim.h"
#include "ProgressTestSupport.h"
#include "RecordingMessageBoxService.h"
#include "SessionBuilders.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "detection/adapters/NetworkAdapters.h"
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
Ids Walk(CWizardPage& page, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Ids stops{FocusedId(page)};
    for (int i = 0; i < 40; ++i) {
        Press(page, Qt::Key_Tab, modifiers);
        if (FocusedId(page) == stops.front()) break;
        stops.push_back(FocusedId(page));
    }
    return stops;
}

void TabTo(CWizardPage& page, int id) {
    for (int i = 0; i < 40 && FocusedId(page) != id; ++i) Press(page, Qt::Key_Tab);
}

// Keys go to the active window: a page's turn comes once it is.
UiDriver::Match Active(const std::string& page) {
    return [page](CWizardPage& top) {
        return top.isActiveWindow() && (page.empty() || page == top.metaObject()->className());
    };
}

// Keys pressed on a control after tabbing to it, then text typed into it.
using Entry = std::tuple<int, std::vector<Qt::Key>, QString>;

// Each page's Tab stops, from the first one.
const std::map<std::string, Ids> kChains{
    {"CHomePage", {1003, 1004, 1005, 1006, 1002, 1016, 1089}},
    {"CGuidePage1", {1015, 1013, 1014}},  // Exit, Back, Next as drawn
    {"CModemFoundPage", {1015, 1014}},
    {"CIspPage", {1023, 1024, 1019, 1020, 1021, 1022, 1015, 1013, 1014}},
    // Tab stops at the checked radio of each group; the addresses are off while obtained.
    {"CWanIpPage", {1029, 1031, 1033, 1015, 1013, 1014}},
    {"CWirelessPage", {1050, 1048, 1060, 1015, 1013, 1014}},
};

// The wizard by keyboard alone: Tab, arrows, typing and Space (Enter and Escape do nothing) from
// the home page to the final page of a MER run, every page's Tab order walked both ways, the ring
// shown only once the keyboard moved the focus, then a language chosen from the list by keyboard.
TEST(KeyboardRun, HomeToFinalPageAndTheLanguageListByKeyboardAlone) {
    ScratchFolder folder;
    folder.AddLanguage("English", QSize(600, 560), QColor(40, 80, 120));
    WriteDhcpHelper("exit 0");
    RecordingMessageBoxService boxes;
    WizardContext wizard{&boxes, nullptr, {}};
    InstallWizardFlow(wizard);
    ScopedWizardContext context(std::move(wizard));
    ScopedProgressSettings settings(QuickProgressSettings());
    ASSERT_TRUE(WaitForWorkers(10000));
    FreshSession();
    std::map<std::string, Ids> forward, backward;
    ModemSim sim("127.0.0.230");
    ASSERT_TRUE(sim.Start());
    setenv(kSimulatedModemVariable, "127.0.0.230", 1);
    // The country "Other", MER (third protocol), VPI 8, VCI 35; a fixed address; a network name.
    std::map<std::string, std::vector<Entry>> entries{
        {"CIspPage",
         {{1023, {Qt::Key_Home}, {}},
          {1019, {Qt::Key_Home, Qt::Key_Down, Qt::Key_Down}, {}},
          {1020, {Qt::Key_Home}, {}},
          {1021, {}, "8"},
          {1022, {}, "35"}}},
        {"CWanIpPage",
         {{1029, {Qt::Key_Down}, {}}, {1040, {}, "10.0.0.2"}, {1041, {}, "255.255.255.0"}}},
        {"CWirelessPage", {{1050, {}, "Anna"}}},
    };
    Ids wanAfter;
    std::vector<bool> rings;  // on the home page's second button, by focus reason
    UiDriver driver(20000);
    driver.When(Active("CHomePage"), [&rings](CWizardPage& top) {
        QWidget* guide = top.Control(1004);
        const QImage plain = guide->grab().toImage();
        for (Qt::FocusReason reason :
             {Qt::OtherFocusReason, Qt::MouseFocusReason, Qt::TabFocusReason}) {
            reason == Qt::TabFocusReason ? Press(top, Qt::Key_Tab) : guide->setFocus(reason);
            rings.push_back(guide->hasFocus() && guide->grab().toImage() != plain);
            top.Control(1003)->setFocus(Qt::OtherFocusReason);
        }
    });
    for (const char* page :
         {"CHomePage", "CGuidePage1", "CGuidePage2", "CGuidePage3", "CModemFoundPage", "CIspPage",
          "CWanIpPage", "CWirelessPage", "CFinishPage"}) {
        driver.When(Active(page), [&, page = std::string(page)](CWizardPage& top) {
            forward[page] = Walk(top);
            backward[page] = Walk(top, Qt::ShiftModifier);
            for (const auto& [id, keys, text] : entries[page]) {
                TabTo(top, id);
                for (Qt::Key key : keys) Press(top, key);
                // Each key to the focused field, as the dot moves on in an address.
                for (QChar c : text) QTest::keyClicks(QApplication::focusWidget(), c);
            }
            if (page == "CWanIpPage") wanAfter = Walk(top);
            TabTo(top, page == "CHomePage"     ? CHomePage::kIdStart
                       : page == "CFinishPage" ? kIdExit
                                               : kIdNext);
            for (Qt::Key inert : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) Press(top, inert);
            if (UiDriver::TopPage() != &top) throw std::runtime_error("a key ended " + page);
            Press(top, Qt::Key_Space);
        });
    }
    driver.Start();
    CHomePage(ResourcePath("home.bmp"), nullptr).DoModal();
    unsetenv(kSimulatedModemVariable);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(rings, (std::vector<bool>{false, false, true}));
    for (const auto& [page, chain] : kChains) {
        EXPECT_EQ(forward[page], chain) << page;
        Ids back{chain.front()};
        back.insert(back.end(), chain.rbegin(), chain.rend() - 1);
        EXPECT_EQ(backward[page], back) << page;
    }
    // A fixed address: its radio and one stop per address control join the chain.
    EXPECT_EQ(wanAfter, (Ids{1041, 1031, 1033, 1015, 1013, 1014, 1030, 1040}));
    ASSERT_EQ(sim.Requests().size(), 5u);
    EXPECT_EQ(sim.Requests()[2],
              "wancfg.wzd?method=set&edit=0&ntwkPrtcl=2&encapMode=0&atmVpi=8&atmVci=35"
              "&enblDhcpClnt=0&wanIpAddress=10.0.0.2&wanSubnetMask=255.255.255.0&enblAuto=1"
              "&dnsDynamic=1");
    EXPECT_EQ(sim.Requests()[3], "wl.wzd?method=set&wlSsid=Anna&wlChannel=0&wlAuthMode=open");
    EXPECT_TRUE(boxes.Entries().empty());

    // The language list: the home page rebuilt for the language chosen keeps the list in focus.
    int focused = 0;
    UiDriver language;
    language.When(Active(""), [](CWizardPage& top) {
        TabTo(top, CHomePage::kIdLanguageList);
        Press(top, Qt::Key_Down);
    });
    language.When([](CWizardPage& top) { return top.isActiveWindow() && top.Owner() != nullptr; },
                  [&focused](CWizardPage& top) {
                      focused = FocusedId(top);
                      UiDriver::CloseAllPages();
                  });
    language.Start();
    CHomePage(ResourcePath("home.bmp"), nullptr).DoModal();
    EXPECT_TRUE(language.Finished());
    EXPECT_EQ(focused, CHomePage::kIdLanguageList);
    EXPECT_EQ(Session().languageIndex, 1);
    FreshSession();
}

}  // namespace
