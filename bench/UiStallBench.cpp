// How long the user-interface thread's event loop is ever kept from running during a detection,
// an apply and an Internet test against the simulated modem on loopback, at the program's own
// pacing; and how much later than that pacing each progress page reached 100 and handed over.
//
//   bench_ui_stall [RES_FOLDER]   (the page bitmaps; defaults to the build's bundle)
// The run is made twice, each in a fresh process: at device pixel ratio 1 and at ratio 2
// (QT_SCALE_FACTOR), where the pages draw from the double-density art; the two longest stalls
// are printed side by side at the end.
#include <sys/stat.h>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "ModemSim.h"
#include "QuietProcesses.h"
#include "RecordingMessageBoxService.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "core/session/WizardSession.h"
#include "core/worker/WorkerThread.h"
#include "detection/ModemDetection.h"
#include "detection/adapters/NetworkAdapters.h"
#include "detection/processes/ProcessService.h"
#include "ui/progress/ApplyPage.h"
#include "ui/progress/DetectPage.h"
#include "ui/progress/InternetTestPage.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/GuidePage3.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr const char* kModemAddress = "127.0.0.230";
// How long the simulated user takes to press a button on a page that waits for one.
constexpr int kUserMs = 200;

// The pacing of a page: when its n-th tick falls due, and its fill pauses.
struct Pacing {
    int firstTickMs;
    int tickMs;
    int creep;  // bar gain per tick while the worker runs
    int stepPauseMs;
    int lastPauseMs;
};

const std::map<std::string, Pacing> kPacing{
    {"CDetectPage", {720, 720, 1, 50, 50}},
    {"CApplyPage", {1000, 1000, 2, 200, 200}},
    {"CInternetTestPage", {720, 1000, 1, 50, 200}},
};

struct PageTrace {
    std::string page;
    qint64 shownNs = 0;
    std::vector<std::pair<qint64, int>> values;  // (time, bar value)
    qint64 nextShownNs = 0;                      // when the page that replaced it showed
};

// Watches the loop (a 1 ms timer: the longest gap between its ticks) and the progress pages.
class Monitor final : public QObject {
public:
    Monitor() {
        clock.start();
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        connect(&tick, &QTimer::timeout, this, [this] {
            const qint64 now = clock.nsecsElapsed();
            if (last > 0 && now - last > longestGapNs) {
                longestGapNs = now - last;
                QWidget* top = QApplication::activeModalWidget();
                longestAfter = top ? top->metaObject()->className() : "no page";
            }
            last = now;
        });
        tick.start();
        qApp->installEventFilter(this);
    }
    ~Monitor() override { qApp->removeEventFilter(this); }

    QElapsedTimer clock;
    QTimer tick;
    qint64 last = 0;
    qint64 longestGapNs = 0;
    std::string longestAfter;  // the page on top when the longest stall ended
    std::vector<PageTrace> traces;
    std::function<void(CWizardPage&)> onShown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* page = qobject_cast<CWizardPage*>(watched);
        if (page == nullptr || event->type() != QEvent::Show) return false;
        const qint64 now = clock.nsecsElapsed();
        if (!traces.empty() && traces.back().nextShownNs == 0) traces.back().nextShownNs = now;
        const std::string name = page->metaObject()->className();
        if (kPacing.count(name) != 0) {
            traces.push_back({name, now, {}, 0});
            auto* bar = qobject_cast<QProgressBar*>(page->Control(kIdProgress));
            const std::size_t index = traces.size() - 1;
            connect(bar, &QProgressBar::valueChanged, this, [this, index](int v) {
                traces[index].values.emplace_back(clock.nsecsElapsed(), v);
            });
        }
        if (onShown) {
            // A user's click, a moment after the page showed.
            QTimer::singleShot(kUserMs, page, [this, page] { onShown(*page); });
        }
        return false;
    }
};

// The planned time from show to the bar at 100, for the values the page went through.
double PlannedMs(const PageTrace& trace) {
    const Pacing& pacing = kPacing.at(trace.page);
    int previous = 0;
    int creeping = 0;
    int steps = 0;
    for (const auto& [time, value] : trace.values) {
        if (value == 100) break;
        if (steps == 0 && value - previous == pacing.creep) {
            ++creeping;
        } else {
            ++steps;
        }
        previous = value;
    }
    const double outcomeTick = pacing.firstTickMs + creeping * pacing.tickMs;
    return outcomeTick + steps * pacing.stepPauseMs + pacing.lastPauseMs;
}

// Runs the whole sequence in a child process at each scale; prints its report indented and
// returns the child's longest stall (negative when it failed).
double RunAtScale(const char* self, const char* res, const char* scale) {
    setenv("QT_SCALE_FACTOR", scale, 1);
    std::string command = std::string("\"") + self + "\" --one";
    if (res != nullptr) command += std::string(" \"") + res + "\"";
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return -1;
    std::printf("at scale %s:\n", scale);
    double stallMs = -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::printf("  %s", line);
        std::sscanf(line, "longest UI stall: %lf", &stallMs);
    }
    std::fflush(stdout);
    return pclose(pipe) == 0 ? stallMs : -1;
}

int RunOnce(int argc, char** argv) {
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = QApplication::arguments();
    const QString res =
        QFileInfo(args.size() > 1 ? args.at(1) : QStringLiteral(BUNDLE_RES)).absoluteFilePath();
    QTemporaryDir scratch;
    if (QFileInfo(res).isDir()) {
        QFile::link(res, QDir(scratch.path()).filePath(QStringLiteral("res")));
    }
    QDir::setCurrent(scratch.path());
    const std::string helper = CurrentDirectory() + "/" + kDhcpHelperName;
    std::ofstream(helper) << "#!/bin/sh\nexit 0\n";
    chmod(helper.c_str(), 0755);

    ModemSim modem(kModemAddress);
    std::string error;
    if (!modem.Start(&error)) {
        std::fprintf(stderr, "modem-sim: %s\n", error.c_str());
        return 1;
    }
    setenv(kSimulatedModemVariable, kModemAddress, 1);

    RecordingMessageBoxService boxes;
    WizardContext wizard;
    wizard.messageBox = &boxes;
    InstallWizardFlow(wizard);
    WizardSession record{};
    record.ntwkPrtcl = kProtocolPppoe;
    record.atmVpi = 8;
    record.atmVci = 35;
    CopyText(record.account.ppp.pppUserName, "user@isp");
    CopyText(record.account.ppp.pppPassword, "secret");
    CopyText(record.wlAuthMode, "WPA");
    CopyText(record.wlSsid, "Home");
    CopyText(record.keys.wlWpaPsk, "a long pass phrase");
    // The found-modem page's Next stands in for the form pages: a plain page where the wireless
    // page would be, which sends the settings as soon as it shows ...
    wizard[WizardStep::ModemFoundNext] = [&record](QWidget* owner, const WizardSession*) {
        CWizardPage wireless(kTemplateWireless, PageBitmap(kTemplateWireless), owner);
        QTimer::singleShot(kUserMs, &wireless,
                           [&] { OpenStep(WizardStep::WirelessNextApply, &wireless, &record); });
        wireless.DoModal();
    };
    // and so its picture is the one decoded ahead while the found-modem page shows.
    SetPagesAhead([flowAhead = PagesAheadOf()](int templateId) {
        return templateId == kTemplateModemFound ? std::vector<int>{kTemplateWireless}
                                                 : flowAhead(templateId);
    });
    ScopedWizardContext context(std::move(wizard));
    ProgressSettings settings;
    settings.makeProcesses = [] { return std::make_unique<QuietProcesses>(); };
    ScopedProgressSettings installed(settings);

    // The run starts on the third instruction page, whose picture the second page would have
    // had decoded while the user read it.
    PrepareArt({ResourcePath("install03.bmp")}, qApp->devicePixelRatio());
    QThread::msleep(300);
    Monitor monitor;
    qint64 finishedNs = 0;
    monitor.onShown = [&](CWizardPage& page) {
        const std::string name = page.metaObject()->className();
        if (name == "CGuidePage3" && monitor.traces.empty()) page.OnNext();
        if (name == "CModemFoundPage") page.OnNext();
        if (name == "CFinishPage") {
            finishedNs = monitor.clock.nsecsElapsed();
            page.OnExit();
        }
    };
    const qint64 startNs = monitor.clock.nsecsElapsed();
    CGuidePage3 guide(ResourcePath("install03.bmp"), nullptr);
    guide.DoModal();
    WorkerThread::WaitForAll(5000);

    const bool complete = finishedNs > 0 && monitor.traces.size() == 3 && boxes.Entries().empty();
    double beyondMs = 0;
    for (const PageTrace& trace : monitor.traces) {
        qint64 fullNs = 0;
        for (const auto& [time, value] : trace.values) {
            if (value == 100) fullNs = time;
        }
        const double actualMs = (fullNs - trace.shownNs) / 1e6;
        const double plannedMs = PlannedMs(trace);
        const double handoverMs = (trace.nextShownNs - fullNs) / 1e6;
        const double late = std::max(0.0, actualMs - plannedMs) + std::max(0.0, handoverMs);
        beyondMs += late;
        out << QString::asprintf(
            "%-18s bar at 100 after %8.1f ms (planned %8.1f ms), next page "
            "%6.1f ms later\n",
            trace.page.c_str(), actualMs, plannedMs, handoverMs);
    }
    out << QString::asprintf("whole sequence:    %8.1f ms%s\n", (finishedNs - startNs) / 1e6,
                             complete ? "" : "  (INCOMPLETE: a page failed or was missing)");
    out << QString::asprintf("longest UI stall:  %8.2f ms (target < 20 ms), ended on %s\n",
                             monitor.longestGapNs / 1e6 - 1.0, monitor.longestAfter.c_str());
    out << QString::asprintf("beyond the pacing: %8.2f ms\n", beyondMs);
    modem.Stop();
    return complete ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--one") == 0) {
        argv[1] = argv[0];  // the run's own arguments: RES_FOLDER, if given
        return RunOnce(argc - 1, argv + 1);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const char* res = argc > 1 ? argv[1] : nullptr;
    const double one = RunAtScale(argv[0], res, "1");
    const double two = RunAtScale(argv[0], res, "2");
    std::printf("longest UI stall at scale 1: %.2f ms, at scale 2: %.2f ms (target < 20 ms)\n", one,
                two);
    return one >= 0 && two >= 0 ? 0 : 1;
}
