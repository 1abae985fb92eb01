#pragma once
// The search run: hands out result pages 1..N to the magnet workers, one page
// per interval, then starts the online-play workers, and answers pause,
// continue and stop. It owns the run's shared state and both result lists and
// lives as long as the process, since workers keep references to them.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "app/run_ports.h"
#include "config/live_settings.h"
#include "sitedefs/site_definitions.h"
#include "sitedefs/site_roster.h"
#include "sites/result_list.h"
#include "sites/search_run.h"
#include "sites/worker_context.h"

namespace sirelo {

struct RunPorts {
    RunView& view;
    Notifier& notifier;
    const SearchBox& searchBox;
    const Clock& clock;
};

class SearchController {
  public:
    using LauncherFactory = std::function<std::unique_ptr<WorkerLauncher>(const WorkerContext&)>;

    // `definitions`, addresses applied, outlive the controller and every
    // worker it starts.
    SearchController(RunPorts ports, const SiteDefinitions& definitions,
                     const LauncherFactory& makeLauncher);
    SearchController(const SearchController&) = delete;
    SearchController& operator=(const SearchController&) = delete;

    // Window thread.
    void startSearch();
    void pauseRun();
    void continueRun();
    void stopRun();
    bool isDispatcherRunning() const;

    // Any thread.
    void updateStatusBar();

    LiveSettings& settings() { return settings_; }
    SearchRun& run() { return run_; }
    ResultList& magnetList() { return magnetList_; }  // 超级列表框1
    ResultList& onlineList() { return onlineList_; }  // 超级列表框2
    const SiteDefinitions& definitions() const { return context_.definitions; }

  private:
    // The pause and stop flags of one run's dispatcher thread; shared with that
    // thread, so a stopped dispatcher of an earlier run never sees a later one.
    struct Dispatcher {
        std::mutex mutex;
        std::condition_variable changed;
        bool paused = false;
        bool stopped = false;
        bool running = true;
    };

    void runDispatcher(Dispatcher& dispatcher, const RunLock& lock);
    void resetRun();
    void dispatchPage(const RunLock& lock, int page);
    void launchOnlineSearch(const RunLock& lock);
    void finishRun();
    void showIdleButtons();

    // Waits out a pause. The result holds the dispatcher's mutex, so that a stop
    // cannot slip in before the next step starts; it holds nothing once stopped.
    static std::unique_lock<std::mutex> holdUnlessStopped(Dispatcher& dispatcher);
    // Waits until `deadline` or a stop; false once stopped.
    static bool waitInterval(Dispatcher& dispatcher,
                             std::chrono::steady_clock::time_point deadline);

    RunPorts ports_;
    LiveSettings settings_;
    SearchRun run_;
    ResultList magnetList_{kMagnetColumnCount, kMagnetLink};
    ResultList onlineList_{kOnlineColumnCount};
    WorkerContext context_;
    std::unique_ptr<WorkerLauncher> launcher_;
    std::shared_ptr<Dispatcher> dispatcher_;  // the latest run's; window thread only
    RunLock currentRun_;                      // the latest run's record; window thread only
    // Reading the figures and handing them on form one step, so that the last
    // refresh shown carries the latest figures.
    std::mutex statusMutex_;
};

}  // namespace sirelo
