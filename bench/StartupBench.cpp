// Measures the wizard's start-up: from the moment the process is started to the first paint of
// the home page, and the peak resident memory at that point. Each run is a fresh process (the
// program starts once per run in real life); the tool starts itself RUNS times and prints the
// median and the worst of both. Run it in the bundle folder, where the home page finds its bitmaps.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"

namespace {

double MonotonicMillis() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            std::printf("%.3f %ld\n", MonotonicMillis(), PeakRssKb());
            std::fflush(stdout);
            QTimer::singleShot(0, [] { std::_Exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }
    static long PeakRssKb() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    }
    bool seen = false;
};

int RunOnce(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint watcher;
    CHomePage home(ResourcePath("home.bmp"), nullptr);
    home.installEventFilter(&watcher);
    home.DoModal();
    return 1;  // only reached when no paint ever came
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--once") == 0) return RunOnce(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> millis, rss;
    for (int i = 0; i < runs; ++i) {
        std::string command = std::string("\"") + argv[0] + "\" --once 2>/dev/null";
        const double started = MonotonicMillis();
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return 1;
        double ms = -1, kb = -1;
        double paintedAt = 0;
        if (std::fscanf(pipe, "%lf %lf", &paintedAt, &kb) == 2) ms = paintedAt - started;
        pclose(pipe);
        if (ms < 0) {
            std::fprintf(stderr, "startup bench: run %d painted nothing\n", i);
            return 1;
        }
        millis.push_back(ms);
        rss.push_back(kb);
    }
    std::printf("start-up to first painted home page: median %.1f ms, worst %.1f ms (%d runs)\n",
                Median(millis), *std::max_element(millis.begin(), millis.end()), runs);
    std::printf("peak resident memory at that point: median %.1f MiB, worst %.1f MiB\n",
                Median(rss) / 1024, *std::max_element(rss.begin(), rss.end()) / 1024);
    return 0;
}
