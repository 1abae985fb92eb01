#include "sites/online_worker.h"

#include <algorithm>
#include <string>
#include <vector>

#include "net/http_limits.h"
#include "net/http_request.h"
#include "net/page_fetch.h"
#include "net/url_cookies.h"
#include "sites/online_site.h"
#include "sites/site_bounds.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace sirelo {
namespace {

constexpr HttpMethod kPost = 1;

void InsertOnlineRow(const WorkerContext& context, std::mutex& lock, const OnlineSite& site,
                     const std::string& videoName, const OnlineItem& item, PageOutcome& outcome) {
    std::lock_guard hold(lock);
    ResultList& list = context.onlineList;
    if (list.RowCount() >= kMaxListRows) {
        ++outcome.rowsBeyondBound;
        return;
    }
    ++outcome.rowsAdded;
    const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
    list.SetCell(row, kOnlineVideoName, videoName);
    list.SetCell(row, kOnlineInfo, item.info);
    list.SetCell(row, kOnlineSite, site.label);
    list.SetCell(row, kOnlinePageAddress, item.pageAddress);
    if (site.scrollsNewRows && context.settings.keepNewestShown) list.ScrollIntoView(row);
}

// Hits one after another, one detail page at a time.
PageOutcome SearchOnlineSite(const WorkerContext& context, std::mutex& lock, const OnlineSite& site,
                             const std::string& keyword) {
    const std::string& base = OnlineBase(context.addresses, site.index);
    PageOutcome outcome;
    outcome.host = UrlHost(base);
    RegexMatcher matcher;
    PageBudget budget = PageBudgetFromNow();
    const std::string resultPage = SitePageText(
        HttpRequest(base + site.searchPath, kPost, OnlineSearchForm(site, keyword), std::nullopt,
                    nullptr, {}, nullptr, false, {}, {}, true, &outcome.transfer),
        site.encoding);
    matcher.Execute(site.hitPattern, resultPage, {.maxMatches = kMaxOnlineHits, .budget = &budget});
    outcome.itemsCut = matcher.MatchCount();
    outcome.matchesCut = budget.matchesCut;
    if (outcome.itemsCut == 0)
        outcome.saysNoResults = !site.noResults.empty() && FindText(resultPage, site.noResults) > 0;
    for (int i = 1; i <= outcome.itemsCut; ++i) {
        const OnlineHit hit = ReadOnlineHit(site, matcher.MatchText(i), base);
        const PageBudget detailBudget = PageBudgetFromNow();
        const FetchResult detail = PageFetchWithOutcome(hit.detailAddress);
        ++outcome.detailPages;
        if (detail.outcome.end != TransferEnd::Answered || detail.outcome.httpStatus >= 400)
            ++outcome.detailFailures;
        const std::string detailPage = SitePageText(detail.body, site.encoding);
        const OnlineDetailCut cut = ReadDetailItems(site, base, detailPage, detailBudget);
        outcome.itemsBeyondBound += cut.itemsLeftOut;
        for (const OnlineItem& item : cut.items) {
            InsertOnlineRow(context, lock, site, hit.videoName, item, outcome);
        }
    }
    return outcome;
}

}  // namespace

void OnlineSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex) {
    const std::string keyword = context.run.keyword();
    if (lock && siteIndex >= 0 && siteIndex < kOnlineSiteCount) {
        context.run.outcomes.recordOnline(
            siteIndex,
            SearchOnlineSite(context, *lock, context.definitions.online[siteIndex], keyword));
    }
    if (context.updateStatusBar) context.updateStatusBar();
}

}  // namespace sirelo
