#pragma once
#include "sites/worker_context.h"

namespace sirelo {

// Posts the run's keyword to online-play site `siteIndex` (OnlineSiteIndex),
// reads each hit's detail page and appends one row per playable item, each
// request in its turn at the site's gate, rows and outcome only while `lock`'s
// run is current. A limit or a challenge ends the site's search. Thread body.
void OnlineSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex);

}  // namespace sirelo
