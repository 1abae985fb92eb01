#include "sites/magnet_worker.h"

#include <string>

#include "net/page_fetch.h"
#include "sites/magnet_site.h"
#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

// The duplicate test, the keyword test and the insert of one item, under one
// hold of the run's lock so that two workers never both add the same link.
void InsertMagnetResult(const WorkerContext& context, std::mutex& lock, const MagnetSite& site,
                        const MagnetResult& result, const std::string& keyword) {
    std::lock_guard hold(lock);
    ResultList& list = context.magnetList;
    if (context.settings.filterLinks && list.FindRowByCell(result.magnetLink, kMagnetLink) >= 0) {
        ++context.run.filteredLinks;
        return;
    }
    if (context.settings.exactSearch && FindText(result.name, keyword) < 0) {
        ++context.run.filteredItems;
        return;
    }
    const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
    list.SetCell(row, kMagnetName, result.name);
    list.SetCell(row, kMagnetLink, result.magnetLink);
    list.SetCell(row, kMagnetSite, site.label);
    list.SetCell(row, kMagnetSize, result.size);
    list.SetCell(row, kMagnetHeat, result.heat);
    list.SetCell(row, kMagnetCreated, result.created);
    if (context.settings.keepNewestShown) list.ScrollIntoView(row);
}

void SearchMagnetPage(const WorkerContext& context, std::mutex& lock, const MagnetSite& site,
                      const std::string& keyword, int page) {
    const std::string url =
        MagnetPageUrl(site, context.addresses.magnet[site.index], keyword, page);
    const std::vector<MagnetResult> results = CutMagnetPage(site, PageText(PageFetch(url)));
    if (results.empty()) {
        context.run.siteExhausted[site.index] = true;
        return;
    }
    for (const MagnetResult& result : results) {
        InsertMagnetResult(context, lock, site, result, keyword);
    }
}

}  // namespace

void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page) {
    const std::string keyword = context.run.keyword();
    if (lock && siteIndex >= 0 && siteIndex < kMagnetSiteCount &&
        !context.run.siteExhausted[siteIndex]) {
        SearchMagnetPage(context, *lock, MagnetSites()[siteIndex], keyword, page);
    }
    if (context.updateStatusBar) context.updateStatusBar();
}

}  // namespace sirelo
