#include "sites/site_search.h"

#include <atomic>
#include <cassert>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

#include "config/live_settings.h"
#include "sites/magnet_worker.h"
#include "sites/online_worker.h"
#include "sites/result_list.h"
#include "sites/run_record.h"
#include "sites/search_run.h"
#include "sites/worker_context.h"

namespace sirelo {
namespace {

using Clock = std::chrono::steady_clock;

// The rows a magnet page added, for telling which page a row came from.
struct PageRows {
    int page = 0;
    int rows = 0;  // kPageInProgress until the page is done
};
constexpr int kPageInProgress = -1;

// Everything the site threads share. They hold it by shared_ptr, so a search
// that answered at its time limit leaves it to the threads still running.
struct SharedSearch {
    SharedSearch(const SiteDefinitions& definitions, std::size_t sites)
        : context{run, magnetList, onlineList, settings, definitions, {}},
          lock(std::make_shared<RunRecord>(definitions)),
          finished(sites, false),
          elapsedMs(sites, 0),
          pages(sites) {}

    SearchRun run;
    ResultList magnetList{kMagnetColumnCount, kMagnetLink};
    ResultList onlineList{kOnlineColumnCount};
    LiveSettings settings;
    WorkerContext context;
    RunLock lock;  // paces each site by its definition
    std::atomic<bool> cutOff{false};

    std::mutex mutex;  // guards what follows
    std::condition_variable siteEnded;
    int running = 0;
    std::vector<bool> finished;
    std::vector<long long> elapsedMs;
    std::vector<std::vector<PageRows>> pages;  // the last entry may be the page in progress
};

// Runs on the site's own thread.
void AskSite(SharedSearch& search, std::size_t slot, SiteRef site, int firstPage, int lastPage,
             const SiteFinished& siteFinished) {
    const Clock::time_point start = Clock::now();
    if (site.kind == SiteKind::Online) {
        OnlineSiteWorker(search.context, search.lock, site.index);
    } else {
        for (int page = firstPage; page <= lastPage; ++page) {
            if (search.cutOff || search.run.siteExhausted[site.index]) break;
            {
                std::lock_guard hold(search.mutex);
                search.pages[slot].push_back({page, kPageInProgress});
            }
            MagnetSiteWorker(search.context, search.lock, site.index, page);
            const int added = search.run.outcomes.snapshot().magnet[site.index].latest.rowsAdded;
            std::lock_guard hold(search.mutex);
            search.pages[slot].back().rows = added;
        }
    }
    const long long elapsedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    if (siteFinished) {
        const RunOutcomeSnapshot outcomes = search.run.outcomes.snapshot();
        siteFinished(slot,
                     site.kind == SiteKind::Magnet ? outcomes.magnet[site.index]
                                                   : outcomes.online[site.index],
                     elapsedMs);
    }
    std::lock_guard hold(search.mutex);
    search.finished[slot] = true;
    search.elapsedMs[slot] = elapsedMs;
    --search.running;
    search.siteEnded.notify_all();
}

bool ValidSite(const SiteDefinitions& definitions, SiteRef site) {
    const std::size_t count =
        site.kind == SiteKind::Magnet ? definitions.magnet.size() : definitions.online.size();
    return site.index >= 0 && static_cast<std::size_t>(site.index) < count;
}

const std::string& LabelOf(const SiteDefinitions& definitions, SiteRef site) {
    return site.kind == SiteKind::Magnet ? definitions.magnet[site.index].label
                                         : definitions.online[site.index].label;
}

// The site's rows of `list` in their order, each magnet row with its page.
// Called under the run's lock, so no row is half inserted.
std::vector<FoundRow> RowsOfSite(const ResultList& list, const std::string& label,
                                 const std::vector<PageRows>& pages) {
    std::vector<FoundRow> rows;
    const int siteColumn =
        list.columnCount() == kMagnetColumnCount ? int{kMagnetSite} : int{kOnlineSite};
    std::size_t pageAt = 0;
    int rowsLeftOnPage = pages.empty() ? 0 : pages[0].rows;
    for (int row = 0; row < list.RowCount(); ++row) {
        if (list.CellText(row, siteColumn) != label) continue;
        FoundRow found;
        for (int column = 0; column < list.columnCount(); ++column)
            found.cells.push_back(list.CellText(row, column));
        while (pageAt + 1 < pages.size() && rowsLeftOnPage == 0)
            rowsLeftOnPage = pages[++pageAt].rows;
        if (pageAt < pages.size()) {
            found.page = pages[pageAt].page;
            --rowsLeftOnPage;
        }
        rows.push_back(std::move(found));
    }
    return rows;
}

}  // namespace

SiteSearchResult SearchSites(const SiteSearchOptions& options) {
    assert(options.definitions && options.startThread);
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + options.timeLimit;
    auto search = std::make_shared<SharedSearch>(*options.definitions, options.sites.size());
    search->run.setKeyword(options.keyword);
    search->settings.exactSearch = options.exactSearch;
    search->settings.filterLinks = options.filterLinks;
    search->settings.keepNewestShown = false;

    for (std::size_t slot = 0; slot < options.sites.size(); ++slot) {
        const SiteRef site = options.sites[slot];
        if (!ValidSite(*options.definitions, site)) continue;
        {
            std::lock_guard hold(search->mutex);
            ++search->running;
        }
        const bool started =
            options.startThread([search, slot, site, first = options.firstPage,
                                 last = options.lastPage, finished = options.siteFinished] {
                AskSite(*search, slot, site, first, last, finished);
            });
        if (!started) {
            std::lock_guard hold(search->mutex);
            --search->running;
        }
    }

    SiteSearchResult result;
    std::unique_lock wait(search->mutex);
    const auto allEnded = [&search] { return search->running == 0; };
    if (options.timeLimit.count() > 0) {
        search->siteEnded.wait_until(wait, deadline, allEnded);
    } else {
        search->siteEnded.wait(wait, allEnded);
    }
    search->cutOff = true;
    const long long answerMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    const std::vector<bool> finished = search->finished;
    const std::vector<long long> elapsed = search->elapsedMs;
    const std::vector<std::vector<PageRows>> pages = search->pages;
    wait.unlock();
    // Sites still running after the answer add nothing more and stop waiting at their gates.
    search->lock->retire();

    std::lock_guard rows(search->lock->lock);
    const RunOutcomeSnapshot outcomes = search->run.outcomes.snapshot();
    for (std::size_t slot = 0; slot < options.sites.size(); ++slot) {
        SiteSearchAnswer answer;
        answer.site = options.sites[slot];
        answer.finished = finished[slot];
        answer.elapsedMs = finished[slot] ? elapsed[slot] : answerMs;
        if (ValidSite(*options.definitions, answer.site)) {
            const bool magnet = answer.site.kind == SiteKind::Magnet;
            answer.outcomes =
                magnet ? outcomes.magnet[answer.site.index] : outcomes.online[answer.site.index];
            answer.rows = RowsOfSite(magnet ? search->magnetList : search->onlineList,
                                     LabelOf(*options.definitions, answer.site), pages[slot]);
        }
        result.sites.push_back(std::move(answer));
    }
    result.filteredLinks = search->run.filteredLinks;
    result.filteredItems = search->run.filteredItems;
    return result;
}

}  // namespace sirelo
