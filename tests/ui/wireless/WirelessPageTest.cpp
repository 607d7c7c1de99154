#include <QAbstractButton>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "WirelessTestSupport.h"
#include "ui/wizard/WizardMessage.h"

namespace {

using P = CWirelessPage;

// The checks of Next shown in German, the language current at Start.
class WirelessChecks : public WirelessTest {
protected:
    WirelessChecks() : WirelessTest(2) {}
};

// The order of the checks is in the core's tables; here what a refusal shows on the page.
TEST_F(WirelessChecks, RefusedKeyIsShownHighlightedAndFocusedAfterTheNameWasStored) {
    struct Case {
        int keyPosition;
        std::string current, third;  // the current key and key 3
        MessageId message;
        int focus;
    };
    const Case cases[] = {
        {1, "abc", "", kMsgLength5, P::kIdFirstKey + 1},
        // A key beside the current one that cannot be carried is shown so it can be corrected.
        {0, "abcde", "ab&de", kMsgBadValueType, P::kIdFirstKey + 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focus);
        Remember("WEP64", "Saved");
        boxes.Clear();
        std::string focus;
        bool marked = false;
        std::vector<std::string> kept;
        RunWirelessPage(&owner, [&](CWirelessPage& page) {
            EditOf(page, P::kIdSsid)->setText(QStringLiteral("Home"));
            Choose(page, P::kIdKeyList, c.keyPosition);
            EditOf(page, P::kIdFirstKey + c.keyPosition)
                ->setText(QString::fromStdString(c.current));
            EditOf(page, P::kIdFirstKey + 2)->setText(QString::fromStdString(c.third));
            page.Control(P::kIdChannelList)->setFocus();
            qobject_cast<QAbstractButton*>(page.Control(kIdNext))->click();
            QWidget* w = page.focusWidget();
            focus = w ? w->objectName().toStdString() : "";
            marked = w && w->isVisible() && page.KeyError(c.focus - P::kIdFirstKey + 1);
            kept = {TextIn(page, P::kIdFirstKey + c.keyPosition), TextIn(page, P::kIdFirstKey + 2),
                    ListOf(page, P::kIdKeyList)->currentText().toStdString()};
        });
        EXPECT_EQ(LastBox(), LocalizedMessage(2, c.message));
        EXPECT_EQ(focus, std::to_string(c.focus));
        EXPECT_TRUE(marked);
        // The entries stay as typed, and the current key number as chosen.
        EXPECT_EQ(kept, (std::vector<std::string>{c.current, c.third,
                                                  std::to_string(c.keyPosition + 1)}));
        EXPECT_FALSE(applied);
        EXPECT_STREQ(Session().wlSsidSaved, "Home");
    }
}

using Keys = std::array<std::string, 4>;

// The keys a record carries for its mode; for "open" the first bytes of the untouched block.
Keys RecordKeys(const WizardSession& r) {
    const std::string mode = r.wlAuthMode;
    const auto& w = r.keys.wep128;
    const auto& n = r.keys.wep64;
    if (mode == "WEP128") return {w.wlKey1, w.wlKey2, w.wlKey3, w.wlKey4};
    if (mode == "WEP64") return {n.wlKey1, n.wlKey2, n.wlKey3, n.wlKey4};
    if (mode == "WPA") return {r.keys.wlWpaPsk, "", "", ""};
    return {std::string(r.keys.wlWpaPsk, 4), "", "", ""};
}

// The record Next hands on, for every security mode, and what stays remembered.
TEST_F(WirelessTest, RecordCarriesTheWirelessFieldsOfEachMode) {
    struct Case {
        const char* mode;
        const char* channel;
        Keys keys;
        const char* keyIndex;
        std::uint32_t wantChannel, wantKeyIndex;
        Keys wantKeys;
    };
    const Case cases[] = {
        {"open", "6", {}, "1", 6, 9, {"xxxx", "", "", ""}},
        // Key 2 current; keys of another length are emptied, empty ones stay empty.
        {"WEP128",
         "0",
         {"1234567", "abcdefghijklm", "", "nopqrstuvwxyz"},
         "2",
         0,
         2,
         {"", "abcdefghijklm", "", "nopqrstuvwxyz"}},
        {"WEP64", "13", {"abcde", "abc", "", "fghij"}, "1", 13, 1, {"abcde", "", "", "fghij"}},
        // A remembered channel outside the list leaves it without selection: sent as -1.
        {"WPA", "20", {"passphrase", "", "", ""}, "1", 0xFFFFFFFFu, 9, {"passphrase", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const SessionFields& s = Session();
        Remember(c.mode, "Cafe net", c.channel, c.keys, c.keyIndex);
        applied.reset();
        WizardSession incoming{};
        incoming.ntwkPrtcl = kProtocolIpoa;
        incoming.atmVci = 35;
        CopyText(incoming.account.wanIp.wanIpAddress, "10.0.0.2");
        incoming.wlKeyIndex = 9;
        std::memset(&incoming.keys, 'x', sizeof incoming.keys);
        RunWirelessPage(
            &owner, [](CWirelessPage& page) { page.OnNext(); }, incoming);
        ASSERT_TRUE(applied);
        const WizardSession& r = *applied;
        EXPECT_EQ(r.ntwkPrtcl, kProtocolIpoa);
        EXPECT_EQ(r.atmVci, 35u);
        EXPECT_STREQ(r.account.wanIp.wanIpAddress, "10.0.0.2");
        EXPECT_STREQ(r.wlAuthMode, c.mode);
        EXPECT_STREQ(r.wlSsid, "Cafe net");
        EXPECT_EQ(r.wlChannel, c.wantChannel);
        EXPECT_EQ(r.wlKeyIndex, c.wantKeyIndex);
        EXPECT_EQ(RecordKeys(r), c.wantKeys);
        EXPECT_STREQ(s.wlChannelSaved, c.wantChannel == 0xFFFFFFFFu ? "-1" : c.channel);
        if (std::string(c.mode) != "open") {
            const Keys saved{s.wlKey1Saved, s.wlKey2Saved, s.wlKey3Saved, s.wlKey4Saved};
            EXPECT_EQ(saved, c.wantKeys);
        }
    }
}

TEST_F(WirelessTest, BackRemembersUncheckedEntriesAndTheNextVisitShowsThem) {
    Remember("WEP128", "Cafe", "3", {"abcdefghijklm", "", "", ""}, "1");
    RunWirelessPage(&owner, [](CWirelessPage& page) {
        EditOf(page, P::kIdSsid)->setText(QStringLiteral("Bar"));
        EditOf(page, P::kIdFirstKey)->setText(QStringLiteral("abc"));
        Choose(page, P::kIdKeyList, 2);
        Choose(page, P::kIdChannelList, 11);
        page.OnBack();
    });
    EXPECT_TRUE(boxes.Entries().empty());
    EXPECT_FALSE(applied);
    EXPECT_STREQ(Session().wlKey1Saved, "abc");
    RunWirelessPage(&owner, [](CWirelessPage& page) {
        EXPECT_EQ(TextIn(page, P::kIdSsid), "Bar");
        EXPECT_EQ(ListOf(page, P::kIdAuthList)->currentIndex(), P::kModeWep128);
        EXPECT_EQ(ListOf(page, P::kIdChannelList)->currentIndex(), 11);
        EXPECT_EQ(ListOf(page, P::kIdKeyList)->currentIndex(), 2);
        EXPECT_EQ(TextIn(page, P::kIdFirstKey), "abc");
        EXPECT_FALSE(page.Control(P::kIdFirstKey + 2)->isHidden());
    });
}

TEST_F(WirelessTest, ReshowDecidesWhetherNextAppliesOrTestsDirectly) {
    struct Case {
        std::vector<std::uintptr_t> reshows;
        bool back;
        bool wantApply;
    };
    const Case cases[] = {
        {{}, false, true},      {{0}, false, false}, {{0, 1}, false, true},
        {{0, 7}, false, false}, {{0}, true, true},
    };
    Remember("open", "Home");
    for (const Case& c : cases) {
        applied.reset();
        internetTests = 0;
        RunWirelessPage(&owner, [&](CWirelessPage& page) {
            for (std::uintptr_t w : c.reshows) SendWizardMessage(&page, WM_WIZARD_RESHOW, w);
            if (c.back) page.OnBack();
            EXPECT_EQ(page.Applied(), !c.wantApply);
            if (!c.back) page.OnNext();
        });
        if (c.back) continue;
        EXPECT_EQ(applied.has_value(), c.wantApply);
        EXPECT_EQ(internetTests, c.wantApply ? 0 : 1);
    }
}

TEST_F(WirelessTest, ControlsFollowModeAndKeyNumber) {
    const std::set<int> security{1069, 1049, 1063, 1055, 1064, 1065, 1066, 1067, 1051,
                                 1052, 1053, 1054, 1070, 1071, 1072, 1073, 1074};
    struct Case {
        int mode;
        int key;
        std::set<int> shown;
    };
    const Case cases[] = {
        {P::kModeOpen, 0, {}},
        {P::kModeWpa, 0, {1063, 1055, 1074}},
        {P::kModeWep128, 0, {1069, 1049, 1064, 1051, 1070}},
        {P::kModeWep64, 3, {1069, 1049, 1067, 1054, 1073}},
        {P::kModeWep128, -1, {1069, 1049, 1064, 1051, 1070}},
    };
    Remember("WEP128", "Home", "0", {"abcdefghijklm", "", "", ""});
    RunWirelessPage(&owner, [&](CWirelessPage& page) {
        // The first arrangement kept the remembered key; a mode change empties every WEP key.
        EXPECT_EQ(TextIn(page, P::kIdFirstKey), "abcdefghijklm");
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.key));
            EditOf(page, P::kIdFirstKey + 1)->setText(QStringLiteral("kept"));
            const bool modeChange = ListOf(page, P::kIdAuthList)->currentIndex() != c.mode;
            Choose(page, P::kIdKeyList, c.key);
            Choose(page, P::kIdAuthList, c.mode);
            for (int id : security) {
                EXPECT_EQ(!page.Control(id)->isHidden(), c.shown.count(id) == 1) << id;
            }
            EXPECT_EQ(TextIn(page, P::kIdFirstKey + 1), modeChange ? "" : "kept");
        }
    });
}

TEST_F(WirelessTest, TypingStopsAtByteLimitsAndCreateKeyFillsTheModesLength) {
    Remember("WEP64", "Home", "0", {"abc"});
    RunWirelessPage(&owner, [](CWirelessPage& page) {
        QLineEdit* key = EditOf(page, P::kIdFirstKey);
        auto base = [key] { return key->palette().color(QPalette::Base); };
        page.OnNext();
        EXPECT_TRUE(page.KeyError(1));
        EXPECT_EQ(base(), QColor(255, 0, 0));
        // The highlight stays until the text is valid; the sixth byte is refused, not cut later.
        QTest::keyClicks(key, QStringLiteral("d"));
        EXPECT_TRUE(page.KeyError(1));
        QTest::keyClicks(key, QStringLiteral("ef"));
        EXPECT_EQ(key->text(), QStringLiteral("abcde"));
        EXPECT_FALSE(page.KeyError(1));
        EXPECT_EQ(base(), QColor(255, 255, 255));
        QLineEdit* ssid = EditOf(page, P::kIdSsid);
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
            const QString created = EditOf(page, field)->text();
            EXPECT_EQ(created.size(), length);
            EXPECT_TRUE(
                QRegularExpression(QStringLiteral("^[0-9a-f]+$")).match(created).hasMatch());
        }
    });
}

}  // namespace
