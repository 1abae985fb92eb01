#pragma once
#include "sites/worker_context.h"

namespace sirelo {

// Reads result page `page` of magnet site `siteIndex` (MagnetSiteIndex) for the
// run's keyword and appends the surviving rows to the magnet list. Thread body.
void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page);

}  // namespace sirelo
