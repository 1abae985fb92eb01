#include "sites/online_worker.h"

#include <string>

#include "net/http_request.h"
#include "net/page_fetch.h"
#include "sites/online_site.h"
#include "text/regex_matcher.h"

namespace sirelo {
namespace {

constexpr HttpMethod kPost = 1;

void InsertOnlineRow(const WorkerContext& context, std::mutex& lock, const OnlineSite& site,
                     const std::string& videoName, const OnlineItem& item) {
    std::lock_guard hold(lock);
    ResultList& list = context.onlineList;
    const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
    list.SetCell(row, kOnlineVideoName, videoName);
    list.SetCell(row, kOnlineInfo, item.info);
    list.SetCell(row, kOnlineSite, site.label);
    list.SetCell(row, kOnlinePageAddress, item.pageAddress);
    if (site.scrollsNewRows && context.settings.keepNewestShown) list.ScrollIntoView(row);
}

// Hits one after another, one detail page at a time.
void SearchOnlineSite(const WorkerContext& context, std::mutex& lock, const OnlineSite& site,
                      const std::string& keyword) {
    const std::string& base = OnlineBase(context.addresses, site.index);
    RegexMatcher matcher;
    const std::string resultPage = SitePageText(
        HttpRequest(base + site.searchPath, kPost, OnlineSearchForm(site, keyword)), site.encoding);
    matcher.Execute(site.hitPattern, resultPage);
    for (int i = 1; i <= matcher.MatchCount(); ++i) {
        const OnlineHit hit = ReadOnlineHit(site, matcher.MatchText(i), base);
        const std::string detailPage = SitePageText(PageFetch(hit.detailAddress), site.encoding);
        for (const OnlineItem& item : ReadDetailItems(site, base, detailPage)) {
            InsertOnlineRow(context, lock, site, hit.videoName, item);
        }
    }
}

}  // namespace

void OnlineSiteWorker(const WorkerContext& context, RunLock lock, int siteIndex) {
    const std::string keyword = context.run.keyword();
    if (lock && siteIndex >= 0 && siteIndex < kOnlineSiteCount) {
        SearchOnlineSite(context, *lock, context.definitions.online[siteIndex], keyword);
    }
    if (context.updateStatusBar) context.updateStatusBar();
}

}  // namespace sirelo
