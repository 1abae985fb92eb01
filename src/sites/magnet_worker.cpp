#include "sites/magnet_worker.h"

#include <string>

#include "net/page_fetch.h"
#include "sites/magnet_site.h"
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

}  // namespace

void AddMagnetPage(const WorkerContext& context, std::mutex& lock, const MagnetSite& site,
                   const std::string& keyword, std::string_view pageBytes) {
    const std::vector<MagnetResult> results =
        CutMagnetPage(site, SitePageText(pageBytes, site.encoding));
    if (results.empty()) {
        context.run.siteExhausted[site.index] = true;
        return;
    }
    for (const MagnetResult& result : results) {
        InsertMagnetResult(context, lock, site, result, keyword);
    }
}

void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page) {
    const std::string keyword = context.run.keyword();
    if (lock && siteIndex >= 0 && siteIndex < kMagnetSiteCount &&
        !context.run.siteExhausted[siteIndex]) {
        const MagnetSite& site = context.definitions.magnet[siteIndex];
        const std::string url =
            MagnetPageUrl(site, context.addresses.magnet[siteIndex], keyword, page);
        AddMagnetPage(context, *lock, site, keyword, PageFetch(url));
    }
    if (context.updateStatusBar) context.updateStatusBar();
}

}  // namespace sirelo
