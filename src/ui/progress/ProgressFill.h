#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QProgressBar;

// The fill with which a progress page ends its work, driven by a timer so that the page's
// thread never sleeps: from p, while p + 10 < 100, the bar moves on by 10 with a pause after
// each step until it stands at 90 or more; then one last pause, the bar at 100, and done.
class ProgressFill final : public QObject {
public:
    ProgressFill(QProgressBar* bar, QObject* parent);

    // Pauses in (already scaled) milliseconds. A fill that runs is replaced.
    void Start(int from, int stepPauseMs, int lastPauseMs, std::function<void()> done);
    // Abandons the fill; done is not called.
    void Stop();
    bool IsRunning() const { return stage_ != Stage::Idle; }

private:
    enum class Stage { Idle, Stepping, LastPause, Finish };

    void Advance();
    // Waits ms after the previous pause ended, not after now: the pauses do not add up lateness.
    void Pause(int ms);

    QProgressBar* bar_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 dueMs_ = 0;
    Stage stage_ = Stage::Idle;
    int position_ = 0;
    int stepPauseMs_ = 0;
    int lastPauseMs_ = 0;
    std::function<void()> done_;
};
