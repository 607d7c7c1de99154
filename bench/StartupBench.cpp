// Measures the wizard's start-up: from the moment the process is started to the first paint of
// the home page, and the peak resident memory at that point. Each run is a fresh process (the
// program starts once per run in real life); the tool starts itself RUNS times and prints the
// median and the worst of both. Run it in the bundle folder, where the home page finds its bitmaps.
// It does so at device pixel ratio 1 and at ratio 2 (QT_SCALE_FACTOR), where the home page draws
// from the double-density art, and prints the two side by side.

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
            // The filter sees the event before the page paints (and loads its picture): the
            // time is taken once the event loop is back, after the paint.
            seen = true;
            QTimer::singleShot(0, [] {
                std::printf("%.3f %ld\n", MonotonicMillis(), PeakRssKb());
                std::fflush(stdout);
                std::_Exit(0);
            });
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

struct Measured {
    double medianMs = -1, worstMs = -1, medianMiB = -1, worstMiB = -1;
};

Measured MeasureAtScale(const char* self, int runs, const char* scale) {
    setenv("QT_SCALE_FACTOR", scale, 1);
    std::vector<double> millis, rss;
    for (int i = 0; i < runs; ++i) {
        const std::string command = std::string("\"") + self + "\" --once 2>/dev/null";
        const double started = MonotonicMillis();
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return {};
        double paintedAt = 0, kb = -1;
        const bool painted = std::fscanf(pipe, "%lf %lf", &paintedAt, &kb) == 2;
        pclose(pipe);
        if (!painted) {
            std::fprintf(stderr, "startup bench: run %d at scale %s painted nothing\n", i, scale);
            return {};
        }
        millis.push_back(paintedAt - started);
        rss.push_back(kb / 1024);
    }
    return {Median(millis), *std::max_element(millis.begin(), millis.end()), Median(rss),
            *std::max_element(rss.begin(), rss.end())};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--once") == 0) return RunOnce(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

    const Measured one = MeasureAtScale(argv[0], runs, "1");
    const Measured two = MeasureAtScale(argv[0], runs, "2");
    if (one.medianMs < 0 || two.medianMs < 0) return 1;
    std::printf("%d runs each                           scale 1       scale 2\n", runs);
    std::printf("start-up to first painted home page:   median %6.1f ms  %6.1f ms (%.2fx)\n",
                one.medianMs, two.medianMs, two.medianMs / one.medianMs);
    std::printf("                                       worst  %6.1f ms  %6.1f ms\n", one.worstMs,
                two.worstMs);
    std::printf("peak resident memory at that point:    median %6.1f MiB %6.1f MiB\n",
                one.medianMiB, two.medianMiB);
    std::printf("                                       worst  %6.1f MiB %6.1f MiB\n", one.worstMiB,
                two.worstMiB);
    return 0;
}
