#pragma once
// What each request of a search run gave, per site. Workers record one outcome
// per request (any thread); the window's tooltips and the site check read a
// snapshot. Recording takes one short lock per request, never per row.

#include <array>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "config/live_settings.h"
#include "net/transfer_outcome.h"
#include "sites/answer_kind.h"

namespace sirelo {

// How one request went, in the site check's words.
enum class SiteVerdict {
    Ok,
    Empty,
    Layout,
    Dns,
    Refused,
    Timeout,
    Tls,
    Capped,
    Error,
    Limited,
    Challenge
};

struct PageOutcome {
    int page = 0;      // the magnet page number; 0 for an online site's search
    std::string host;  // the host asked, for the words of a failure
    TransferOutcome transfer;
    AnswerKind answer = AnswerKind::Page;  // a limit or a challenge stops the site for the run
    bool saysNoResults = false;            // the page holds its site's no-result marker
    bool matchesCut = false;               // its pattern search spent the page's budget
    int itemsCut = 0;                      // items (online: hits) taken from the page
    int itemsBeyondBound = 0;              // items (online: hits) the per-page bound left out
    int rowsAdded = 0;
    int linksDropped = 0;     // by 过滤链接
    int namesDropped = 0;     // by 精准搜索
    int rowsBeyondBound = 0;  // the list was full
    bool exhausted = false;   // the page marked its site exhausted
    int detailPages = 0;      // online: detail pages asked for
    int detailFailures = 0;   // online: detail pages that gave nothing
};

// A site that asked us to wait or sent a challenge says so whatever else the
// answer holds. A search that spent the page's budget is a layout failure whatever it
// found. Otherwise items found are a success whatever the transfer says (a
// capped page may still hold rows), and the transfer, then the page, says
// what failed.
SiteVerdict Verdict(const PageOutcome& outcome);

// "ok", "empty", "layout", "dns", "refused", "timeout", "tls", "capped", "error",
// "limited", "challenge".
const char* VerdictWord(SiteVerdict verdict);

// One site's requests of a run, folded as they are recorded, so that reading
// them costs the same on page 100 as on page 1.
struct SiteOutcomes {
    int requests = 0;
    std::vector<int> answeredPages;  // pages that gave items, ascending
    int rowsAdded = 0;
    int itemsBeyondBound = 0;
    int rowsBeyondBound = 0;
    bool proxyIgnored = false;
    std::optional<PageOutcome> firstFailure;  // the failed page with the lowest number
    PageOutcome latest;

    void add(const PageOutcome& outcome);
};

struct RunOutcomeSnapshot {
    std::array<SiteOutcomes, kMaxMagnetSites> magnet;  // by the site's place
    std::array<SiteOutcomes, kMaxOnlineSites> online;
};

class RunOutcomes {
  public:
    void clear();
    void recordMagnet(int siteIndex, const PageOutcome& outcome);
    void recordOnline(int siteIndex, const PageOutcome& outcome);
    RunOutcomeSnapshot snapshot() const;

  private:
    mutable std::mutex mutex_;
    RunOutcomeSnapshot outcomes_;
};

}  // namespace sirelo
