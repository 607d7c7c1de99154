#include "core/worker/WorkerThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

struct Registry {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
};

// Never destroyed: a detached worker may still end while static objects are torn down.
Registry& Workers() {
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

bool WorkerThread::Start(std::function<int()> procedure) {
    auto state = std::make_shared<State>();
    Registry& registry = Workers();
    {
        std::lock_guard lock(registry.mutex);
        ++registry.running;
    }
    try {
        std::thread([state, procedure = std::move(procedure)]() mutable {
            const int code = procedure();
            // Everything the procedure owned goes before the result is published, so a reader
            // that sees the result also knows the worker touches nothing any more.
            procedure = nullptr;
            state->exitCode.store(code, std::memory_order_release);
            state.reset();
            Registry& workers = Workers();
            std::lock_guard lock(workers.mutex);
            --workers.running;
            workers.ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        std::lock_guard lock(registry.mutex);
        --registry.running;
        return false;
    }
    state_ = std::move(state);
    return true;
}

int WorkerThread::ExitCode() const {
    return state_ ? state_->exitCode.load(std::memory_order_acquire) : kStillActive;
}

int WorkerThread::Running() {
    Registry& registry = Workers();
    std::lock_guard lock(registry.mutex);
    return registry.running;
}

bool WorkerThread::WaitForAll(int timeoutMs) {
    Registry& registry = Workers();
    std::unique_lock lock(registry.mutex);
    return registry.ended.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return registry.running == 0; });
}
