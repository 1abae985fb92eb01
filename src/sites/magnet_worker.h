#pragma once
#include <string>
#include <string_view>

#include "sites/site_outcome.h"
#include "sites/worker_context.h"
#include "text/page_budget.h"

namespace sirelo {

// Reads result page `page` of magnet site `siteIndex` (MagnetSiteIndex) for the
// run's keyword, appends the surviving rows to the magnet list and records the
// request's outcome in the run. Thread body.
void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page);

// What the worker does with the bytes of a fetched page: cut them, filter the
// items and add the rows; a page without items marks the site exhausted. The
// result says what the page gave; its transfer, host and page are the caller's.
// Cutting draws from `budget`, whose deadline is the transfer's.
PageOutcome AddMagnetPage(const WorkerContext& context, std::mutex& lock, const MagnetSite& site,
                          const std::string& keyword, std::string_view pageBytes,
                          const PageBudget& budget = {});

}  // namespace sirelo
