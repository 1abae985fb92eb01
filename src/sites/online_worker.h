#pragma once
#include "sites/worker_context.h"

namespace sirelo {

// Posts the run's keyword to online-play site `siteIndex` (OnlineSiteIndex),
// reads each hit's detail page and appends one row per playable item. Thread body.
void OnlineSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex);

}  // namespace sirelo
