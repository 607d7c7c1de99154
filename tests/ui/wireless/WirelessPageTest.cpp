#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest/QTest>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "ModemSim.h"
#include "RecordingMessageBoxService.h"
#include "SessionBuilders.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/wireless/WirelessPage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"
#include "ui/wizard/WizardMessage.h"

// The wireless page: what it shows, keeps and hands on, and its read of the modem's settings
// (the order of the checks: the core's tables; each mode's request bytes: the whole-run test).
namespace {

using P = CWirelessPage;
using Keys = std::array<std::string, 4>;

template <class Control = QLineEdit>
Control* Of(CWirelessPage& page, int id) {
    return qobject_cast<Control*>(page.Control(id));
}
// A choice by the user: selection and its change notification.
void Choose(CWirelessPage& page, int listId, int position) {
    Of<QComboBox>(page, listId)->setCurrentIndex(position);
    emit Of<QComboBox>(page, listId)->activated(position);
}
// Mode/channel/key number, then network name, WPA key and the four keys.
std::string Shown(CWirelessPage& page) {
    std::string shown;
    for (int id : {P::kIdAuthList, P::kIdChannelList, P::kIdKeyList})
        shown += std::to_string(Of<QComboBox>(page, id)->currentIndex()) + "/";
    for (int id : {P::kIdSsid, P::kIdWpaKey, P::kIdFirstKey, P::kIdFirstKey + 1, P::kIdFirstKey + 2,
                   P::kIdFirstKey + 3})
        shown += "|" + Of(page, id)->text().toStdString();
    return shown;
}

// The page the wireless page opens over, counting its paintings.
struct Owner final : CWizardPage {
    using CWizardPage::CWizardPage;
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CWizardPage::paintEvent(event);
    }
    int paints = 0;
};

// Cleared entries, recorded boxes and successor hooks that only note what they were given.
class WirelessTest : public ::testing::Test {
protected:
    WirelessTest() {
        folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(230, 240, 250));
        FreshSession();
        CopyText(Session().modemIpAddress, "127.0.0.199");
        Session().languageIndex = 2;  // German: no fixed English text
        LoadLocalizedMessages(Session());
        owner.resize(600, 560);
        owner.show();
    }

    // Entries as an earlier visit left them.
    static void Remember(const char* mode, const char* ssid, const char* channel = "0",
                         const Keys& keys = {}, const char* keyIndex = "1") {
        SessionFields& s = Session();
        CopyText(s.wlAuthModeSaved, mode);
        CopyText(s.wlSsidSaved, ssid);
        CopyText(s.wlChannelSaved, channel);
        char* const saved[] = {s.wlKey1Saved, s.wlKey2Saved, s.wlKey3Saved, s.wlKey4Saved};
        for (int i = 0; i < 4; ++i) CopyText(saved[i], kRememberedSize, keys[i]);
        CopyText(s.wlKeyIndexSaved, keyIndex);
    }

    // Runs a page modally over the owner: what it shows once it is the visible top page, before
    // inspect runs on it.
    std::string RunPage(const std::function<void(CWirelessPage&)>& inspect = {},
                        const ExchangeLimits& limits = kDefaultLimits) {
        CWirelessPage page(ResourcePath("install08.bmp"), &owner, limits);
        std::string shown;
        UiDriver driver;
        driver.When("CWirelessPage", [&](CWizardPage& top) {
            shown = Shown(UiDriver::Expect<CWirelessPage>(top));
            if (inspect) inspect(page);
            if (top.isVisible()) top.OnClose();
        });
        driver.Start();
        page.DoModal();
        EXPECT_TRUE(driver.Finished());
        return shown;
    }

    ModemSim& Modem(const char* address) {
        sim = std::make_unique<ModemSim>(address);
        EXPECT_TRUE(sim->Start());
        CopyText(Session().modemIpAddress, address);
        return *sim;
    }

    ScratchFolder folder;
    std::unique_ptr<ModemSim> sim;
    RecordingMessageBoxService boxes;
    std::optional<WizardSession> applied;
    int internetTests = 0;
    ScopedWizardContext context{[this] {
        WizardContext steps{&boxes, nullptr, {}};
        steps[WizardStep::WirelessNextApply] = [this](QWidget*, auto* r) { applied = *r; };
        steps[WizardStep::WirelessNextApplied] = [this](QWidget*, auto*) { ++internetTests; };
        return steps;
    }()};
    Owner owner{kTemplateGuide1, ResourcePath("install01.bmp"), nullptr};
};

// A key beside the current one that cannot be carried is refused, and shown so that it can be
// corrected; the network name was stored before.
TEST_F(WirelessTest, RefusedKeyIsShownHighlightedAndFocusedAfterTheNameWasStored) {
    Remember("WEP64", "Saved");
    RunPage([&](CWirelessPage& page) {
        Of(page, P::kIdSsid)->setText("Home");
        Of(page, P::kIdFirstKey)->setText("abcde");
        Of(page, P::kIdFirstKey + 2)->setText("ab&de");
        page.Control(P::kIdChannelList)->setFocus();
        Of<QAbstractButton>(page, kIdNext)->click();
        QWidget* w = page.focusWidget();
        EXPECT_EQ(w && w->isVisible() ? w->objectName().toInt() : 0, P::kIdFirstKey + 2);
        EXPECT_TRUE(page.KeyError(3));
        // The entries stay as typed, and the current key number as chosen.
        EXPECT_EQ(Shown(page), "2/0/0/|Home||abcde||ab&de|");
    });
    ASSERT_FALSE(boxes.Entries().empty());
    EXPECT_EQ(boxes.Entries().back().text, LocalizedMessage(2, kMsgBadValueType));
    EXPECT_FALSE(applied);
    EXPECT_STREQ(Session().wlSsidSaved, "Home");
}

// Next empties keys of another length, in the record and in what is remembered; Back then
// remembers without checks, and the next visit shows it.
TEST_F(WirelessTest, NextDropsKeysOfAnotherLengthAndBackRemembersUnchecked) {
    Remember("WEP128", "Cafe net", "20", {"1234567", "abcdefghijklm", "", "nopqrstuvwxyz"}, "2");
    Keys remembered;
    RunPage([&](CWirelessPage& page) {
        page.OnNext();
        const SessionFields& s = Session();
        remembered = {s.wlKey1Saved, s.wlKey2Saved, s.wlKey3Saved, s.wlKey4Saved};
        Of(page, P::kIdSsid)->setText("Bar");
        Of(page, P::kIdFirstKey)->setText("abc");
        Choose(page, P::kIdKeyList, 2);
        Choose(page, P::kIdChannelList, 11);
        page.OnBack();
    });
    ASSERT_TRUE(applied);
    const WizardSession& r = *applied;
    // A remembered channel outside the list leaves it without selection: sent as -1.
    EXPECT_EQ(std::string(r.wlAuthMode) + "|" + r.wlSsid + "|" + std::to_string(r.wlChannel) + "|" +
                  std::to_string(r.wlKeyIndex),
              "WEP128|Cafe net|4294967295|2");
    const Keys want{"", "abcdefghijklm", "", "nopqrstuvwxyz"};
    const auto& k = r.keys.wep128;
    EXPECT_EQ(Keys({k.wlKey1, k.wlKey2, k.wlKey3, k.wlKey4}), want);
    EXPECT_EQ(remembered, want);
    EXPECT_TRUE(boxes.Entries().empty());
    RunPage([](CWirelessPage& page) {
        EXPECT_EQ(Shown(page), "1/11/2/|Bar||abc|abcdefghijklm||nopqrstuvwxyz");
        EXPECT_FALSE(page.Control(P::kIdFirstKey + 2)->isHidden());
    });
}

TEST_F(WirelessTest, ReshowDecidesWhetherNextAppliesOrTestsDirectly) {
    // Reshow messages, whether the page goes Back, whether Next then applies.
    const std::tuple<std::vector<std::uintptr_t>, bool, bool> cases[] = {
        {{}, false, true},      {{0}, false, false}, {{0, 1}, false, true},
        {{0, 7}, false, false}, {{0}, true, true},
    };
    Remember("open", "Home");
    for (const auto& [reshows, back, wantApply] : cases) {
        applied.reset();
        internetTests = 0;
        RunPage([&](CWirelessPage& page) {
            for (std::uintptr_t w : reshows) SendWizardMessage(&page, WM_WIZARD_RESHOW, w);
            if (back) page.OnBack();
            EXPECT_EQ(page.Applied(), !wantApply);
            if (!back) page.OnNext();
        });
        if (back) continue;
        EXPECT_EQ(applied.has_value(), wantApply);
        EXPECT_EQ(internetTests, wantApply ? 0 : 1);
    }
}

TEST_F(WirelessTest, ControlsFollowModeAndKeyNumber) {
    const std::set<int> ids{1069, 1049, 1063, 1055, 1064, 1065, 1066, 1067, 1051,
                            1052, 1053, 1054, 1070, 1071, 1072, 1073, 1074};  // security controls
    const std::tuple<int, int, std::set<int>> cases[] = {
        {P::kModeOpen, 0, {}},
        {P::kModeWpa, 0, {1063, 1055, 1074}},
        {P::kModeWep64, 3, {1069, 1049, 1067, 1054, 1073}},
        {P::kModeWep128, -1, {1069, 1049, 1064, 1051, 1070}},
    };
    Remember("WEP128", "Home", "0", {"abcdefghijklm", "", "", ""});
    RunPage([&](CWirelessPage& page) {
        // The first arrangement kept the remembered key; a mode change empties every WEP key.
        EXPECT_EQ(Of(page, P::kIdFirstKey)->text(), "abcdefghijklm");
        for (const auto& [mode, key, shown] : cases) {
            SCOPED_TRACE(std::to_string(mode) + "/" + std::to_string(key));
            Of(page, P::kIdFirstKey + 1)->setText(QStringLiteral("kept"));
            const bool modeChange = Of<QComboBox>(page, P::kIdAuthList)->currentIndex() != mode;
            Choose(page, P::kIdKeyList, key);
            Choose(page, P::kIdAuthList, mode);
            for (int id : ids) EXPECT_EQ(!page.Control(id)->isHidden(), shown.contains(id)) << id;
            EXPECT_EQ(Of(page, P::kIdFirstKey + 1)->text(), modeChange ? "" : "kept");
        }
    });
}

TEST_F(WirelessTest, TypingStopsAtByteLimitsAndCreateKeyFillsTheModesLength) {
    Remember("WEP64", "Home", "0", {"abc"});
    RunPage([](CWirelessPage& page) {
        QLineEdit* key = Of(page, P::kIdFirstKey);
        auto red = [key] { return key->palette().color(QPalette::Base) == QColor(255, 0, 0); };
        page.OnNext();
        EXPECT_TRUE(red());
        // The highlight stays until the text is valid; the sixth byte is refused, not cut later.
        QTest::keyClicks(key, QStringLiteral("d"));
        EXPECT_TRUE(red());
        QTest::keyClicks(key, QStringLiteral("ef"));
        EXPECT_EQ(key->text(), "abcde");
        EXPECT_FALSE(red());
        QLineEdit* ssid = Of(page, P::kIdSsid);
        ssid->clear();
        // Pasted texts count in bytes too: 16 x "\u00e9" fills all 32, and one more is refused.
        ssid->insert(QString(16, QChar(0xe9)));
        ssid->insert(QStringLiteral("a"));
        EXPECT_EQ(ssid->text(), QString(16, QChar(0xe9)));

        const std::array<int, 4> creates[] = {{P::kModeWep64, 1072, 1053, 5},
                                              {P::kModeWep128, 1072, 1053, 13},
                                              {P::kModeWpa, 1074, P::kIdWpaKey, 8}};
        for (const auto& [mode, button, field, length] : creates) {
            Choose(page, P::kIdKeyList, 2);
            Choose(page, P::kIdAuthList, mode);
            qobject_cast<QAbstractButton*>(page.Control(button))->click();
            const QString created = Of(page, field)->text();
            EXPECT_EQ(created.size(), length);
            EXPECT_TRUE(QRegularExpression("^[0-9a-f]+$").match(created).hasMatch());
        }
    });
}

TEST_F(WirelessTest, OpensWithWhatTheModemReportsAndAsksOnlyOnce) {
    const std::pair<WirelessState, std::string> cases[] = {
        {{"Orvane net", 6, "WEP128", {"", "", "abcdefghijklm", ""}, 3},
         "1/6/2/|Orvane net||||abcdefghijklm|"},
        {{"Other", 1, "WPA", {"passphrase"}, 1}, "3/1/0/|Other|passphrase||||"},
    };
    int host = 181;
    for (const auto& [state, shown] : cases) {
        Modem(("127.0.0." + std::to_string(host++)).c_str()).SetWireless(state);
        Remember("", "");
        EXPECT_EQ(RunPage(), shown);
    }
    // Remembered now: the next visit shows the same without asking the modem again.
    EXPECT_EQ(RunPage(), std::get<1>(cases[1]));
    EXPECT_EQ(sim->ConnectionsAccepted(), 1);
}

// A modem that accepts and never answers costs the receive limit, while the window below keeps
// painting; the page then shows nothing from the modem and replaces nothing remembered.
TEST_F(WirelessTest, SilentModemShowsNoneAndAutoSelectWhileTheOwnerKeepsPainting) {
    Modem("127.0.0.185").SetFault(RequestKind::WirelessGet, {FaultMode::Silent, 0});
    // Left over from an earlier visit that went Back with an empty network name.
    Remember("WEP128", "", "5", {"abcdefghijklm", "", "", ""});
    int paintsBeforeShown = -1;
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, &owner, [&] {
        owner.update();
        if (!qobject_cast<CWirelessPage*>(QApplication::activeModalWidget()))
            paintsBeforeShown = owner.paints;
    });
    repaint.start(20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunPage({}, {300, 300, 400}), "0/0/0/||||||");
    EXPECT_GE(clock.elapsed(), 400);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_GE(paintsBeforeShown, 5);
    EXPECT_STREQ(Session().wlKey1Saved, "abcdefghijklm");
}

}  // namespace
