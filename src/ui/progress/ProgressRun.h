#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "core/worker/WorkerThread.h"

class ProgressFill;
class QProgressBar;

// One run of a progress page: the timer that paces the bar, the worker whose exit code tells
// the outcome, and the fill with which the page ends. The page keeps its own pacing and its own
// rules for reading the outcome; the run holds the parts every progress page has and closes
// them the one way they must be closed.
class ProgressRun final : public QObject {
public:
    // tick runs on every timeout of the timer, on the page's thread.
    ProgressRun(QProgressBar* bar, QObject* parent, std::function<void()> tick);
    ~ProgressRun() override;
    Q_DISABLE_COPY_MOVE(ProgressRun)

    // Empties the bar (0 of 100), starts the timer at tickMs (once only when singleShot: the
    // page arms each later tick with Rearm) and the worker on procedure. False when the worker
    // could not be started; the timer runs all the same, so the page ends by its time-out.
    bool Start(int tickMs, bool singleShot, std::function<int()> procedure);
    void Rearm(int ms) { timer_.start(ms); }

    // WorkerThread::kStillActive while the worker runs.
    int ExitCode() const { return worker_.ExitCode(); }
    int Position() const;
    // Moves the bar on by step, never past 100.
    void Creep(int step);
    // Stops the timer; the page ends without a fill (its bar already stands at 100).
    void StopTimer() { timer_.stop(); }
    // Stops the timer and fills the bar from where it stands (pauses already scaled); then done.
    void Finish(int stepPauseMs, int lastPauseMs, std::function<void()> done);
    // The close rule: the timer stops, the fill is abandoned (its done is never called) and the
    // worker is let go of, not stopped: it owns copies of all it reads and ends on its own.
    void Close();

private:
    QProgressBar* bar_;
    QTimer timer_;
    ProgressFill* fill_;
    WorkerThread worker_;
};
