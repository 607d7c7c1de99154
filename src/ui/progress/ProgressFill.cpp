#include "ui/progress/ProgressFill.h"

#include <QProgressBar>
#include <algorithm>
#include <utility>

ProgressFill::ProgressFill(QProgressBar* bar, QObject* parent) : QObject(parent), bar_(bar) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ProgressFill::Advance);
}

void ProgressFill::Start(int from, int stepPauseMs, int lastPauseMs, std::function<void()> done) {
    position_ = from;
    stepPauseMs_ = stepPauseMs;
    lastPauseMs_ = lastPauseMs;
    done_ = std::move(done);
    stage_ = position_ + 10 < 100 ? Stage::Stepping : Stage::LastPause;
    clock_.start();
    dueMs_ = 0;
    Advance();
}

void ProgressFill::Stop() {
    timer_.stop();
    stage_ = Stage::Idle;
    done_ = nullptr;
}

void ProgressFill::Advance() {
    switch (stage_) {
        case Stage::Idle:
            return;
        case Stage::Stepping:
            position_ += 10;
            if (bar_ != nullptr) bar_->setValue(position_);
            if (position_ >= 90) stage_ = Stage::LastPause;
            Pause(stepPauseMs_);
            return;
        case Stage::LastPause:
            stage_ = Stage::Finish;
            Pause(lastPauseMs_);
            return;
        case Stage::Finish: {
            if (bar_ != nullptr) bar_->setValue(100);
            stage_ = Stage::Idle;
            // done may end the page and run its successor modally: nothing of the fill is
            // touched after it has been called.
            std::function<void()> done = std::move(done_);
            done_ = nullptr;
            if (done) done();
            return;
        }
    }
}

void ProgressFill::Pause(int ms) {
    dueMs_ += ms;
    timer_.start(static_cast<int>(std::max<qint64>(0, dueMs_ - clock_.elapsed())));
}
