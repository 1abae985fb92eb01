#pragma once
// What a site worker needs from the program: the run's shared state, the two
// result lists, the live settings, the site definitions with their addresses,
// and the status-bar refresh. One context lives as long as the process;
// workers hold a reference.

#include <functional>
#include <memory>
#include <mutex>

#include "config/live_settings.h"
#include "sitedefs/site_definitions.h"
#include "sites/result_list.h"
#include "sites/run_record.h"
#include "sites/search_run.h"

namespace sirelo {

enum MagnetColumn {
    kMagnetOrdinal,
    kMagnetName,
    kMagnetLink,
    kMagnetSite,
    kMagnetSize,
    kMagnetHeat,
    kMagnetCreated,
    kMagnetColumnCount
};
enum OnlineColumn {
    kOnlineOrdinal,
    kOnlineVideoName,
    kOnlineInfo,
    kOnlineSite,
    kOnlinePageAddress,
    kOnlineColumnCount
};

struct WorkerContext {
    SearchRun& run;
    ResultList& magnetList;  // 超级列表框1
    ResultList& onlineList;  // 超级列表框2
    const LiveSettings& settings;
    // Loaded before any worker runs, addresses applied, never changed.
    const SiteDefinitions& definitions;
    std::function<void()> updateStatusBar;
};

// One run's record (sites/run_record.h): its lock, whether it is current, its
// sites' gates. Workers share ownership, so it lives while any of them may use it.
using RunLock = std::shared_ptr<RunRecord>;

// A worker's last step, on its own thread: the status refresh, only while its
// run is current, and under the run's lock so that a newer search cannot begin
// between the check and the refresh.
inline void RefreshStatusIfCurrent(const WorkerContext& context, RunRecord& run) {
    if (!context.updateStatusBar) return;
    std::lock_guard hold(run.lock);
    if (run.current) context.updateStatusBar();
}

}  // namespace sirelo
