#include "sites/magnet_worker.h"

#include <algorithm>
#include <optional>
#include <string>

#include "net/http_limits.h"
#include "net/page_fetch.h"
#include "net/url_cookies.h"
#include "sites/info_hash.h"
#include "sites/magnet_site.h"
#include "sites/site_bounds.h"
#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

const std::string& LabelSeparator() {
    static const std::string separator = Utf8ToGbk("、");
    return separator;
}

// The listed row of a torrent found again names the new site too, each site once.
void AddSiteLabel(ResultList& list, int row, const std::string& label) {
    const std::string labels = list.CellText(row, kMagnetSite);
    for (const std::string& listed : SplitText(labels, LabelSeparator())) {
        if (listed == label) return;
    }
    list.SetCell(row, kMagnetSite, labels.empty() ? label : labels + LabelSeparator() + label);
}

// A torrent already listed under another link, when one row per torrent is asked for.
int ListedTorrentRow(const WorkerContext& context, const std::string& magnetLink) {
    if (!context.settings.oneRowPerTorrent) return -1;
    const std::optional<InfoHash> hash = InfoHashOf(magnetLink);
    return hash ? context.magnetList.FindRowByInfoHash(*hash) : -1;
}

// The duplicate tests, the keyword test and the insert of one item, under one
// hold of the run's lock so that two workers never both add the same link or
// torrent, and only while the run is current.
void InsertMagnetResult(const WorkerContext& context, RunRecord& run, const MagnetSite& site,
                        const MagnetResult& result, const std::string& keyword,
                        PageOutcome& outcome) {
    std::lock_guard hold(run.lock);
    if (!run.current) return;
    ResultList& list = context.magnetList;
    if (const int listed = ListedTorrentRow(context, result.magnetLink); listed >= 0) {
        AddSiteLabel(list, listed, site.label);
        ++context.run.filteredLinks;
        ++outcome.linksDropped;
        return;
    }
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

// Later pages of the site are not asked in this run; a newer run's flags are not ours.
void StopSite(const WorkerContext& context, RunRecord& run, int siteIndex, PageOutcome& outcome) {
    outcome.exhausted = true;
    std::lock_guard hold(run.lock);
    if (run.current) context.run.siteExhausted[siteIndex] = true;
}

}  // namespace

PageOutcome AddMagnetPage(const WorkerContext& context, RunRecord& run, const MagnetSite& site,
                          const std::string& keyword, const FetchResult& fetched,
                          const PageBudget& budget) {
    PageOutcome outcome;
    outcome.transfer = fetched.outcome;
    outcome.answer = KindOfAnswer(fetched.outcome, fetched.body);
    if (outcome.answer != AnswerKind::Page) {
        StopSite(context, run, site.index, outcome);
        return outcome;
    }
    const std::string page = SitePageText(fetched.body, site.encoding);
    const MagnetPageCut cut = CutMagnetPage(site, page, budget);
    const std::vector<MagnetResult>& results = cut.results;
    outcome.itemsCut = static_cast<int>(results.size());
    outcome.itemsBeyondBound = cut.itemsLeftOut;
    if (results.empty()) {
        outcome.saysNoResults = !site.noResults.empty() && FindText(page, site.noResults) > 0;
        StopSite(context, run, site.index, outcome);
        return outcome;
    }
    for (const MagnetResult& result : results) {
        InsertMagnetResult(context, run, site, result, keyword, outcome);
    }
    return outcome;
}

void MagnetSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex, int page) {
    const std::string keyword = context.run.keyword();
    if (!lock) {
        if (context.updateStatusBar) context.updateStatusBar();
        return;
    }
    RunRecord& run = *lock;
    const bool known =
        siteIndex >= 0 && static_cast<std::size_t>(siteIndex) < context.definitions.magnet.size();
    if (known && !context.run.siteExhausted[siteIndex] && run.isCurrent()) {
        const MagnetSite& site = context.definitions.magnet[siteIndex];
        const std::string url = MagnetPageUrl(site, site.base, keyword, page);
        std::optional<FetchResult> fetched;
        PageBudget budget;
        {
            // A limit or a challenge met while this worker waited stops it too.
            const SiteTurn turn(run.magnetGate(siteIndex));
            if (turn && !context.run.siteExhausted[siteIndex]) {
                budget = PageBudgetFromNow();
                fetched = PageFetchWithOutcome(url);
            }
        }
        if (fetched) {
            PageOutcome outcome = AddMagnetPage(context, run, site, keyword, *fetched, budget);
            outcome.page = page;
            outcome.host = UrlHost(url);
            std::lock_guard hold(run.lock);
            if (run.current) context.run.outcomes.recordMagnet(siteIndex, outcome);
        }
    }
    RefreshStatusIfCurrent(context, run);
}

}  // namespace sirelo
