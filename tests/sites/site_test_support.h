#pragma once
// Shared by the site tests: the fixture pages, a worker's surroundings without
// the window, and result rows read back as UTF-8 so that expectations read as
// the pages do.

#include <atomic>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "sitedefs/program_definitions.h"
#include "sites/magnet_site.h"
#include "sites/result_list.h"
#include "sites/search_run.h"
#include "sites/worker_context.h"
#include "text/codepage.h"

namespace sirelo::testing {

using Rows = std::vector<std::vector<std::string>>;

inline std::string FixtureBytes(const std::string& file) {
    std::ifstream in(std::string(SIRELO_FIXTURES_DIR) + "/" + file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A fixture page as a worker sees it: GBK, cut at the first zero byte.
inline std::string FixturePage(const std::string& file) {
    return PageText(FixtureBytes(file));
}

inline Rows RowsOf(const ResultList& list) {
    Rows rows;
    for (int row = 0; row < list.RowCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < list.columnCount(); ++column) {
            cells.push_back(GbkToUtf8(list.CellText(row, column)));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

inline Rows RowsOf(const std::vector<MagnetResult>& results) {
    Rows rows;
    for (const MagnetResult& r : results) {
        rows.push_back({GbkToUtf8(r.name), GbkToUtf8(r.magnetLink), GbkToUtf8(r.size),
                        GbkToUtf8(r.heat), GbkToUtf8(r.created)});
    }
    return rows;
}

inline std::vector<std::string> Column(const Rows& rows, int column) {
    std::vector<std::string> cells;
    for (const auto& row : rows)
        cells.push_back(row.at(column));
    return cells;
}

// Scroll requests as the window would receive them.
class ScrollLog : public ResultListObserver {
  public:
    void rowsChanged() override {}
    void scrollRequested(int row) override {
        std::lock_guard hold(mutex_);
        rows_.push_back(row);
        if (onScroll) onScroll(row);
    }
    std::vector<int> rows() const {
        std::lock_guard hold(mutex_);
        return rows_;
    }
    std::function<void(int)> onScroll;

  private:
    mutable std::mutex mutex_;
    std::vector<int> rows_;
};

// The built-in sites, every one asked at `base` (7DDS's ending in "/").
inline SiteDefinitions AllSitesAt(const std::string& base) {
    SiteDefinitions sites = BuiltInSiteDefinitions();
    for (MagnetSite& site : sites.magnet)
        site.base = base;
    for (OnlineSite& site : sites.online)
        site.base = base + (site.base.ends_with('/') ? "/" : "");
    sites.board.base = base;
    return sites;
}

// What a worker finds around it in the program, with the run's keyword set;
// its sites are asked at their bases.
struct WorkerHarness {
    WorkerHarness(SiteDefinitions sites, const std::string& keywordUtf8)
        : definitions(std::move(sites)), context{run,         magnetList,
                                                 onlineList,  settings,
                                                 definitions, [this] { ++statusRefreshes; }} {
        run.setKeyword(Utf8ToGbk(keywordUtf8));
    }

    const SiteDefinitions definitions;
    SearchRun run;
    ResultList magnetList{kMagnetColumnCount, kMagnetLink};
    ResultList onlineList{kOnlineColumnCount};
    LiveSettings settings;
    std::atomic<int> statusRefreshes{0};
    WorkerContext context;
    RunLock lock = std::make_shared<RunRecord>();
};

}  // namespace sirelo::testing
