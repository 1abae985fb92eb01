#include "app/detached_thread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace sirelo {
namespace {

struct LiveThreads {
    std::mutex mutex;
    std::condition_variable ended;
    int count = 0;
};

// Never destroyed: a detached thread may still be on its way out at exit.
LiveThreads& Live() {
    static LiveThreads* live = new LiveThreads;
    return *live;
}

void CountEnded() {
    LiveThreads& live = Live();
    std::lock_guard hold(live.mutex);
    --live.count;
    live.ended.notify_all();
}

}  // namespace

bool StartDetached(std::function<void()> body) {
    {
        std::lock_guard hold(Live().mutex);
        ++Live().count;
    }
    try {
        std::thread([body = std::move(body)]() mutable {
            body();
            body = nullptr;  // what the body captured goes before the count drops
            CountEnded();
        }).detach();
        return true;
    } catch (const std::system_error&) {
        CountEnded();
        return false;
    }
}

int LiveThreadCount() {
    std::lock_guard hold(Live().mutex);
    return Live().count;
}

bool WaitForNoLiveThreads(std::chrono::milliseconds timeout) {
    LiveThreads& live = Live();
    std::unique_lock hold(live.mutex);
    return live.ended.wait_for(hold, timeout, [&] { return live.count == 0; });
}

}  // namespace sirelo
