#pragma once
#include <string>
#include <string_view>

#include "net/transfer_outcome.h"
#include "sites/site_outcome.h"
#include "sites/worker_context.h"
#include "text/page_budget.h"

namespace sirelo {

// Reads result page `page` of magnet site `siteIndex` (MagnetSiteIndex) for the
// run's keyword, appends the surviving rows to the magnet list and records the
// request's outcome in the run, each only while `lock`'s run is current. The
// request waits for its turn at the site's gate. Thread body.
void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page);

// What the worker does with a fetched page: cut it, filter the items and add
// the rows while `run` is current; a page without items, a limit or a
// challenge marks the site exhausted. The result says what the page gave, with
// its transfer; its host and page are the caller's. Cutting draws from
// `budget`, whose deadline is the transfer's.
PageOutcome AddMagnetPage(const WorkerContext& context, RunRecord& run, const MagnetSite& site,
                          const std::string& keyword, const FetchResult& fetched,
                          const PageBudget& budget = {});

}  // namespace sirelo
