#pragma once
// A search without the window: the given sites asked for a keyword with the
// program's own workers, bounds and filters, every site on a thread of its own,
// its pages one after another. The site doctor and the Torznab server run
// their searches through this one routine.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "sitedefs/site_definitions.h"
#include "sites/site_outcome.h"

namespace sirelo {

// One site of a search: its kind and its index among the definitions of that kind.
struct SiteRef {
    SiteKind kind = SiteKind::Magnet;
    int index = 0;
    friend bool operator==(const SiteRef&, const SiteRef&) = default;
};

// Starts a body on a detached thread; false when it could not.
using ThreadStarter = std::function<bool(std::function<void()>)>;

// The slot of a site in the options' `sites`, its outcomes and its time.
using SiteFinished =
    std::function<void(std::size_t slot, const SiteOutcomes& outcomes, long long elapsedMs)>;

struct SiteSearchOptions {
    // Each site is asked at its base. Must outlive every site's thread, which
    // may run on past the time limit.
    const SiteDefinitions* definitions = nullptr;
    std::vector<SiteRef> sites;
    std::string keyword;  // GBK, as typed
    int firstPage = 1;    // magnet pages firstPage..lastPage; an online site asks once
    int lastPage = 1;
    bool exactSearch = true;  // 精准搜索
    bool filterLinks = true;  // 过滤链接, across every site of this search
    // The search answers by then with what came back; zero waits for every site.
    // A site still running asks for no further page.
    std::chrono::milliseconds timeLimit{0};
    ThreadStarter startThread;
    // Optional: called on the site's own thread as the site finishes; with a
    // time limit it may be called after the answer.
    SiteFinished siteFinished;
};

struct FoundRow {
    std::vector<std::string> cells;  // GBK, in the columns of the site's result list
    int page = 0;                    // the magnet page it came from; 0 for an online row
};

struct SiteSearchAnswer {
    SiteRef site;
    std::vector<FoundRow> rows;  // in the order they were added
    SiteOutcomes outcomes;
    bool finished = false;    // false: cut off by the time limit, or never started
    long long elapsedMs = 0;  // until it finished, or until the answer
};

struct SiteSearchResult {
    std::vector<SiteSearchAnswer> sites;  // in the order of the options' sites
    int filteredLinks = 0;
    int filteredItems = 0;
};

// Blocks until every site has finished or the time limit is reached.
SiteSearchResult SearchSites(const SiteSearchOptions& options);

}  // namespace sirelo
