#include "ui/progress/ProgressRun.h"

#include <QProgressBar>
#include <algorithm>
#include <utility>

#include "ui/progress/ProgressFill.h"

ProgressRun::ProgressRun(QProgressBar* bar, QObject* parent, std::function<void()> tick)
    : QObject(parent), bar_(bar), fill_(new ProgressFill(bar, this)) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, std::move(tick));
}

ProgressRun::~ProgressRun() = default;

bool ProgressRun::Start(int tickMs, bool singleShot, std::function<int()> procedure) {
    bar_->setRange(0, 100);
    bar_->setValue(0);
    timer_.setSingleShot(singleShot);
    timer_.start(tickMs);
    return worker_.Start(std::move(procedure));
}

int ProgressRun::Position() const {
    return bar_->value();
}

void ProgressRun::Creep(int step) {
    bar_->setValue(std::min(bar_->value() + step, 100));
}

void ProgressRun::Finish(int stepPauseMs, int lastPauseMs, std::function<void()> done) {
    timer_.stop();
    fill_->Start(bar_->value(), stepPauseMs, lastPauseMs, std::move(done));
}

void ProgressRun::Close() {
    timer_.stop();
    fill_->Stop();
    worker_.Close();
}
