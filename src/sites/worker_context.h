#pragma once
// What a site worker needs from the program: the run's shared state, the two
// result lists, the live settings, the site definitions and addresses, and the
// status-bar refresh. One context lives as long as the process; workers hold a reference.

#include <functional>
#include <memory>
#include <mutex>

#include "config/live_settings.h"
#include "config/site_addresses.h"
#include "sitedefs/site_definitions.h"
#include "sites/result_list.h"
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
    const SiteDefinitions& definitions;  // loaded before any worker runs, never changed
    SiteAddresses addresses;
    std::function<void()> updateStatusBar;
};

// The lock of one run: it serialises every test-and-insert of a row. Workers
// share ownership, so a lock lives while any worker of its run may hold it.
using RunLock = std::shared_ptr<std::mutex>;

}  // namespace sirelo
