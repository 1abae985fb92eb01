#include "sites/magnet_worker.h"

#include <algorithm>
#include <string>

#include "net/http_limits.h"
#include "net/page_fetch.h"
#include "net/url_cookies.h"
#include "sites/magnet_site.h"
#include "sites/site_bounds.h"
#include "text/text.h"

namespace sirelo {
namespace {

// The duplicate test, the keyword test and the insert of one item, under one
// hold of the run's lock so that two workers never both add the same link.
void InsertMagnetResult(const WorkerContext& context, std::mutex& lock, const MagnetSite& site,
                        const MagnetResult& result, const std::string& keyword,
                        PageOutcome& outcome) {
    std::lock_guard hold(lock);
    ResultList& list = context.magnetList;
    if (context.settings.filterLinks && list.FindRowByCell(result.magnetLink, kMagnetLink) >= 0) {
        ++context.run.filteredLinks;
        ++outcome.linksDropped;
        return;
    }
    if (context.settings.exactSearch && FindText(result.name, keyword) < 0) {
        ++context.run.filteredItems;
        ++outcome.namesDropped;
        return;
    }
    if (list.RowCount() >= kMaxListRows) {
        ++outcome.rowsBeyondBound;
        return;
    }
    ++outcome.rowsAdded;
    const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
    list.SetCell(row, kMagnetName, result.name);
    list.SetCell(row, kMagnetLink, result.magnetLink);
    list.SetCell(row, kMagnetSite, site.label);
    list.SetCell(row, kMagnetSize, result.size);
    list.SetCell(row, kMagnetHeat, result.heat);
    list.SetCell(row, kMagnetCreated, result.created);
    if (context.settings.keepNewestShown) list.ScrollIntoView(row);
}

}  // namespace

PageOutcome AddMagnetPage(const WorkerContext& context, std::mutex& lock, const MagnetSite& site,
                          const std::string& keyword, std::string_view pageBytes,
                          const PageBudget& budget) {
    PageOutcome outcome;
    const std::string page = SitePageText(pageBytes, site.encoding);
    const MagnetPageCut cut = CutMagnetPage(site, page, budget);
    const std::vector<MagnetResult>& results = cut.results;
    outcome.itemsCut = static_cast<int>(results.size());
    outcome.itemsBeyondBound = cut.itemsLeftOut;
    if (results.empty()) {
        outcome.saysNoResults = !site.noResults.empty() && FindText(page, site.noResults) > 0;
        outcome.exhausted = true;
        context.run.siteExhausted[site.index] = true;
        return outcome;
    }
    for (const MagnetResult& result : results) {
        InsertMagnetResult(context, lock, site, result, keyword, outcome);
    }
    return outcome;
}

void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page) {
    const std::string keyword = context.run.keyword();
    if (lock && siteIndex >= 0 && siteIndex < kMagnetSiteCount &&
        !context.run.siteExhausted[siteIndex]) {
        const MagnetSite& site = context.definitions.magnet[siteIndex];
        const std::string url =
            MagnetPageUrl(site, context.addresses.magnet[siteIndex], keyword, page);
        const PageBudget budget = PageBudgetFromNow();
        const FetchResult fetched = PageFetchWithOutcome(url);
        PageOutcome outcome = AddMagnetPage(context, *lock, site, keyword, fetched.body, budget);
        outcome.page = page;
        outcome.host = UrlHost(url);
        outcome.transfer = fetched.outcome;
        context.run.outcomes.recordMagnet(siteIndex, outcome);
    }
    if (context.updateStatusBar) context.updateStatusBar();
}

}  // namespace sirelo
