#include "sites/online_worker.h"

#include <algorithm>
#include <optional>
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

void InsertOnlineRow(const WorkerContext& context, RunRecord& run, const OnlineSite& site,
                     const std::string& videoName, const OnlineItem& item, PageOutcome& outcome) {
    std::lock_guard hold(run.lock);
    if (!run.current) return;
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

// Hits one after another, one detail page at a time, each request in its turn
// at the site's gate. Nothing when the search itself never got its turn.
std::optional<PageOutcome> SearchOnlineSite(const WorkerContext& context, RunRecord& run,
                                            const OnlineSite& site, const std::string& keyword) {
    const std::string& base = site.base;
    SiteGate& gate = run.onlineGate(site.index);
    PageOutcome outcome;
    outcome.host = UrlHost(base);
    RegexMatcher matcher;
    PageBudget budget;
    Bytes answer;
    {
        const SiteTurn turn(gate);
        if (!turn) return std::nullopt;
        budget = PageBudgetFromNow();
        answer =
            HttpRequest(base + site.searchPath, kPost, OnlineSearchForm(site, keyword),
                        std::nullopt, nullptr, {}, nullptr, false, {}, {}, true, &outcome.transfer);
    }
    outcome.answer = KindOfAnswer(outcome.transfer, answer);
    if (outcome.answer != AnswerKind::Page) return outcome;
    const std::string resultPage = SitePageText(answer, site.encoding);
    matcher.Execute(site.hitPattern, resultPage, {.maxMatches = kMaxOnlineHits, .budget = &budget});
    outcome.itemsCut = matcher.MatchCount();
    outcome.matchesCut = budget.matchesCut;
    if (outcome.itemsCut == 0)
        outcome.saysNoResults = !site.noResults.empty() && FindText(resultPage, site.noResults) > 0;
    for (int i = 1; i <= outcome.itemsCut && run.isCurrent(); ++i) {
        const OnlineHit hit = ReadOnlineHit(site, matcher.MatchText(i), base);
        PageBudget detailBudget;
        FetchResult detail;
        {
            const SiteTurn turn(gate);
            if (!turn) break;
            detailBudget = PageBudgetFromNow();
            detail = PageFetchWithOutcome(hit.detailAddress);
        }
        ++outcome.detailPages;
        if (detail.outcome.end != TransferEnd::Answered || detail.outcome.httpStatus >= 400)
            ++outcome.detailFailures;
        if (const AnswerKind kind = KindOfAnswer(detail.outcome, detail.body);
            kind != AnswerKind::Page) {
            // The site asked us to stop: its later hits are not followed.
            outcome.answer = kind;
            outcome.transfer = detail.outcome;
            break;
        }
        const std::string detailPage = SitePageText(detail.body, site.encoding);
        const OnlineDetailCut cut = ReadDetailItems(site, base, detailPage, detailBudget);
        outcome.itemsBeyondBound += cut.itemsLeftOut;
        for (const OnlineItem& item : cut.items) {
            InsertOnlineRow(context, run, site, hit.videoName, item, outcome);
        }
    }
    return outcome;
}

}  // namespace

void OnlineSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex) {
    const std::string keyword = context.run.keyword();
    if (!lock) {
        if (context.updateStatusBar) context.updateStatusBar();
        return;
    }
    RunRecord& run = *lock;
    if (siteIndex >= 0 && static_cast<std::size_t>(siteIndex) < context.definitions.online.size() &&
        run.isCurrent()) {
        const std::optional<PageOutcome> outcome =
            SearchOnlineSite(context, run, context.definitions.online[siteIndex], keyword);
        std::lock_guard hold(run.lock);
        if (outcome && run.current) context.run.outcomes.recordOnline(siteIndex, *outcome);
    }
    RefreshStatusIfCurrent(context, run);
}

}  // namespace sirelo
