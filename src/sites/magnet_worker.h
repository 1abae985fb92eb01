#pragma once
#include <string>
#include <string_view>

#include "sites/worker_context.h"

namespace sirelo {

// Reads result page `page` of magnet site `siteIndex` (MagnetSiteIndex) for the
// run's keyword and appends the surviving rows to the magnet list. Thread body.
void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page);

// What the worker does with the bytes of a fetched page: cut them, filter the
// items and add the rows; a page without items marks the site exhausted.
void AddMagnetPage(const WorkerContext& context, std::mutex& lock, const MagnetSite& site,
                   const std::string& keyword, std::string_view pageBytes);

}  // namespace sirelo
