#pragma once
// Fakes of the window and the workers for driving the search run without Qt.
// Every fake writes into one journal, so a test sees the order of everything.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/run_ports.h"
#include "app/search_controller.h"

namespace sirelo::testing {

using Time = std::chrono::steady_clock;

struct WorkerStart {
    bool magnet = true;
    int site = 0;
    int page = 0;  // 0 for an online worker
    Time::time_point at;
    const RunRecord* lock = nullptr;
};

class Journal {
  public:
    void add(std::string entry) {
        std::lock_guard hold(mutex_);
        entries_.push_back(std::move(entry));
        changed_.notify_all();
    }
    void addStart(const WorkerStart& start) {
        std::lock_guard hold(mutex_);
        starts_.push_back(start);
        entries_.push_back(start.magnet ? "magnet " + std::to_string(start.site) + " page " +
                                              std::to_string(start.page)
                                        : "online " + std::to_string(start.site));
        changed_.notify_all();
    }
    std::vector<std::string> entries() const {
        std::lock_guard hold(mutex_);
        return entries_;
    }
    std::vector<WorkerStart> starts() const {
        std::lock_guard hold(mutex_);
        return starts_;
    }
    void clear() {
        std::lock_guard hold(mutex_);
        entries_.clear();
        starts_.clear();
    }
    // Waits until `done` holds for the entries, at most `timeout`.
    bool waitFor(const std::function<bool(const std::vector<std::string>&)>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::unique_lock hold(mutex_);
        return changed_.wait_for(hold, timeout, [&] { return done(entries_); });
    }
    bool waitForEntry(const std::string& entry,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        return waitFor(
            [&](const std::vector<std::string>& entries) {
                for (const auto& e : entries) {
                    if (e == entry) return true;
                }
                return false;
            },
            timeout);
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> entries_;
    std::vector<WorkerStart> starts_;
};

inline std::string ButtonName(RunButton button) {
    switch (button) {
        case RunButton::Search:
            return "搜索";
        case RunButton::Stop:
            return "停止";
        case RunButton::Pause:
            return "暂停";
        case RunButton::Continue:
            return "继续";
    }
    return "?";
}

class FakeRunView : public RunView {
  public:
    explicit FakeRunView(Journal& journal) : journal_(journal) {}
    void showStatusPanes(const StatusPanes& panes) override {
        journal_.add(panes == IdleStatusPanes() ? "panes idle" : "panes refreshed");
        std::lock_guard hold(mutex_);
        lastPanes_ = panes;
    }
    void setButtonVisible(RunButton button, bool visible) override {
        journal_.add(ButtonName(button) + (visible ? " shown" : " hidden"));
    }
    void setButtonEnabled(RunButton button, bool enabled) override {
        journal_.add(ButtonName(button) + (enabled ? " enabled" : " disabled"));
    }
    void selectTab(int index) override { journal_.add("tab " + std::to_string(index)); }
    void showOutcomeTips(const OutcomeTips&) override {}
    StatusPanes lastPanes() const {
        std::lock_guard hold(mutex_);
        return lastPanes_;
    }

  private:
    Journal& journal_;
    mutable std::mutex mutex_;
    StatusPanes lastPanes_;
};

class FakeNotifier : public Notifier {
  public:
    explicit FakeNotifier(Journal& journal) : journal_(journal) {}
    void beep() override { journal_.add("beep"); }
    void showMessage(const std::string& text, const std::string& title) override {
        journal_.add("message " + text + " / " + title);
    }

  private:
    Journal& journal_;
};

class FakeSearchBox : public SearchBox {
  public:
    std::string searchText() const override {
        std::lock_guard hold(mutex_);
        return text_;
    }
    void setText(std::string text) {
        std::lock_guard hold(mutex_);
        text_ = std::move(text);
    }

  private:
    mutable std::mutex mutex_;
    std::string text_;
};

// Tick count under the test's control; the waits still run on real time.
class FakeClock : public Clock {
  public:
    Time::time_point now() const override { return Time::now(); }
    std::uint32_t tickCount() const override { return tick; }
    std::atomic<std::uint32_t> tick{0};
};

// Records each start; `onStart` runs on the worker's place, as the worker would.
class FakeLauncher : public WorkerLauncher {
  public:
    FakeLauncher(Journal& journal, std::function<void(const WorkerStart&)> onStart)
        : journal_(journal), onStart_(std::move(onStart)) {}
    void startMagnetWorker(RunLock lock, int siteIndex, int page) override {
        record({true, siteIndex, page, Time::now(), lock.get()});
    }
    void startOnlineWorker(RunLock lock, int siteIndex) override {
        record({false, siteIndex, 0, Time::now(), lock.get()});
    }

  private:
    void record(const WorkerStart& start) {
        if (onStart_) onStart_(start);
        journal_.addStart(start);
    }
    Journal& journal_;
    std::function<void(const WorkerStart&)> onStart_;
};

}  // namespace sirelo::testing
