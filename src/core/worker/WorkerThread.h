#pragma once

#include <atomic>
#include <functional>
#include <memory>

// A worker thread in the manner of the wizard's progress pages: it runs detached, owns
// everything its procedure captured, and leaves its result as an exit code that reads
// kStillActive until the procedure has returned. Dropping the handle (Close) never stops the
// thread; the thread keeps its own share of the state and frees it when it ends.
class WorkerThread {
public:
    static constexpr int kStillActive = 259;

    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts procedure on a new thread. False when the thread could not be created; the handle
    // then stays closed.
    bool Start(std::function<int()> procedure);
    // kStillActive while the procedure runs (also when no thread was started).
    int ExitCode() const;
    // Lets go of the thread without stopping it.
    void Close() { state_.reset(); }
    bool IsOpen() const { return state_ != nullptr; }

    // How many workers of the process have not yet ended. Tests wait for zero so that no worker
    // of one case writes the session fields of the next.
    static int Running();
    // Waits up to timeoutMs for Running() to reach zero, processing nothing else. Only for
    // threads that do not wait on the caller.
    static bool WaitForAll(int timeoutMs);

private:
    struct State {
        std::atomic<int> exitCode{kStillActive};
    };
    std::shared_ptr<State> state_;
};
