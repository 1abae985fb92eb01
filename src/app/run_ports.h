#pragma once
// What the search run needs from the window and the system. The window
// implements the views by posting to the window thread, so updates from any
// thread arrive in the order they were made; tests implement them with fakes.

#include <chrono>
#include <cstdint>
#include <string>

#include "app/outcome_texts.h"
#include "app/status_texts.h"
#include "sites/worker_context.h"

namespace sirelo {

class Clock {
  public:
    virtual ~Clock() = default;
    // The time base of the interval waits.
    virtual std::chrono::steady_clock::time_point now() const = 0;
    // Milliseconds, wrapping at 2^32 (the tick count of startTick).
    virtual std::uint32_t tickCount() const = 0;
};

class SteadyClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point now() const override;
    std::uint32_t tickCount() const override;
};

enum class RunButton { Search, Stop, Pause, Continue };  // 搜索_按钮 停止_按钮 暂停_按钮 继续_按钮

// Everything here may be called on any thread.
class RunView {
  public:
    virtual ~RunView() = default;
    virtual void showStatusPanes(const StatusPanes& panes) = 0;
    // Follows every pane refresh: each site's outcome so far, in words.
    virtual void showOutcomeTips(const OutcomeTips& tips) = 0;
    virtual void setButtonVisible(RunButton button, bool visible) = 0;
    virtual void setButtonEnabled(RunButton button, bool enabled) = 0;
    virtual void selectTab(int index) = 0;  // of 选择夹1
};

// Window thread only.
class Notifier {
  public:
    virtual ~Notifier() = default;
    virtual void beep() = 0;
    virtual void showMessage(const std::string& text, const std::string& title) = 0;  // GBK
};

// The text of 搜索名称 as the user left it, readable on any thread.
class SearchBox {
  public:
    virtual ~SearchBox() = default;
    virtual std::string searchText() const = 0;  // GBK
};

// Starts one site worker on a thread of its own and returns at once.
class WorkerLauncher {
  public:
    virtual ~WorkerLauncher() = default;
    virtual void startMagnetWorker(RunLock lock, int siteIndex, int page) = 0;
    virtual void startOnlineWorker(RunLock lock, int siteIndex) = 0;
};

}  // namespace sirelo
