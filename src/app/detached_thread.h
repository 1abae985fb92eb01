#pragma once
// Every thread the program starts is detached and counted, so that a test can
// wait until all of them have ended.

#include <chrono>
#include <functional>

namespace sirelo {

// Runs `body` on a new detached thread. False when no thread could be started.
bool StartDetached(std::function<void()> body);

int LiveThreadCount();
// True when no counted thread is left within `timeout`.
bool WaitForNoLiveThreads(std::chrono::milliseconds timeout);

}  // namespace sirelo
