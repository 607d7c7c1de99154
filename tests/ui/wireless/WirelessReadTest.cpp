#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <memory>

#include "ModemSim.h"
#include "WirelessTestSupport.h"

namespace {

using P = CWirelessPage;

class WirelessReadTest : public WirelessTest {
protected:
    // A modem on its own loopback address, which the session then knows as the modem.
    ModemSim& Modem(const char* address) {
        sim = std::make_unique<ModemSim>(address);
        std::string error;
        EXPECT_TRUE(sim->Start(&error)) << error;
        CopyText(Session().modemIpAddress, address);
        return *sim;
    }

    struct Shown {
        int mode = -2, channel = -2, key = -2;
        std::string ssid, wpa;
        std::array<std::string, 4> keys;
        bool operator==(const Shown&) const = default;
    };
    friend void PrintTo(const Shown& s, std::ostream* os) {
        *os << s.mode << "/" << s.channel << "/" << s.key << " '" << s.ssid << "' '" << s.wpa
            << "' '" << s.keys[0] << "' '" << s.keys[1] << "' '" << s.keys[2] << "' '" << s.keys[3]
            << "'";
    }
    Shown Open(const ExchangeLimits& limits = kDefaultLimits) {
        Shown shown;
        auto look = [&](CWirelessPage& page) {
            shown = {ListOf(page, P::kIdAuthList)->currentIndex(),
                     ListOf(page, P::kIdChannelList)->currentIndex(),
                     ListOf(page, P::kIdKeyList)->currentIndex(),
                     TextIn(page, P::kIdSsid),
                     TextIn(page, P::kIdWpaKey),
                     {}};
            for (int i = 0; i < 4; ++i) shown.keys[i] = TextIn(page, P::kIdFirstKey + i);
        };
        RunWirelessPage(&owner, look, {}, limits);
        return shown;
    }

    std::unique_ptr<ModemSim> sim;
};

TEST_F(WirelessReadTest, OpensWithWhatTheModemReports) {
    struct Case {
        const char* name;
        std::function<void(ModemSim&)> setUp;
        Shown want;
    };
    const Case cases[] = {
        {"WEP128 settings",
         [](ModemSim& m) {
             m.SetWireless({"Orvane net", 6, "WEP128", {"", "", "abcdefghijklm", ""}, 3});
         },
         {P::kModeWep128, 6, 2, "Orvane net", "", {"", "", "abcdefghijklm", ""}}},
        {"WPA settings",
         [](ModemSim& m) {
             m.SetWireless({"Other", 1, "WPA", {"passphrase"}, 1});
         },
         {P::kModeWpa, 1, 0, "Other", "passphrase", {}}},
        {"four-character keys stand for unset keys",
         [](ModemSim& m) {
             m.SetReply(RequestKind::WirelessGet,
                        "wl.wzd?reason=0&s=Net&c=4&wlAuthMode=WEP64&k1=abcde&k2=wxyz&k3=none"
                        "&k4=1234&i=1");
         },
         {P::kModeWep64, 4, 0, "Net", "", {"abcde", "", "", ""}}},
        // Not parsed, so no mode is named; the values are stored by position all the same.
        {"reply without a question mark",
         [](ModemSim& m) { m.SetReply(RequestKind::WirelessGet, "Plain&&3&WPA&passphrase9"); },
         {P::kModeOpen, 3, 0, "Plain", "", {}}},
    };
    int host = 181;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.reset();
        c.setUp(Modem(("127.0.0." + std::to_string(host++)).c_str()));
        Remember("", "");
        EXPECT_EQ(Open(), c.want);
    }
    EXPECT_STREQ(Session().wlAuthModeSaved, "WPA");
    EXPECT_STREQ(Session().wlKey1Saved, "passphrase9");
    // Remembered now: the next visit shows the same without asking the modem again.
    EXPECT_EQ(Open().ssid, "Plain");
    EXPECT_EQ(sim->ConnectionsAccepted(), 1);
}

// Counts the paintings of a widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(WirelessReadTest, FailedReadShowsNoneAndAutoSelectWhileTheOwnerKeepsPainting) {
    struct Case {
        const char* name;
        const char* address;
        std::optional<FaultMode> fault;  // none: nothing listens there
    };
    const Case cases[] = {
        {"never answers", "127.0.0.185", FaultMode::Silent},
        {"closes at once", "127.0.0.186", FaultMode::CloseAtOnce},
        {"nothing listening", "127.0.0.187", std::nullopt},
    };
    const ExchangeLimits shortLimits{300, 300, 400};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.reset();
        if (c.fault) {
            Modem(c.address).SetFault(RequestKind::WirelessGet, {*c.fault, 0});
        } else {
            CopyText(Session().modemIpAddress, c.address);
        }
        // Left over from an earlier visit that went Back with an empty network name.
        Remember("WEP128", "", "5", {"abcdefghijklm", "", "", ""});
        PaintCounter counter(owner);
        int paintsBeforeShown = -1;
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, &owner, [&] {
            owner.update();
            auto* top = qobject_cast<CWirelessPage*>(QApplication::activeModalWidget());
            if (top == nullptr) paintsBeforeShown = counter.paints;
        });
        repaint.start(20);
        QElapsedTimer clock;
        clock.start();
        Shown shown = Open(shortLimits);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(shown, (Shown{P::kModeOpen, 0, 0, "", "", {}}));
        // A failed read replaces nothing that was remembered.
        EXPECT_STREQ(Session().wlKey1Saved, "abcdefghijklm");
        if (c.fault == FaultMode::Silent) {
            // The read took the whole receive limit, and the window below painted meanwhile.
            EXPECT_GE(clock.elapsed(), 400);
            EXPECT_GE(paintsBeforeShown, 5);
        }
    }
}

}  // namespace
