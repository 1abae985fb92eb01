#pragma once
// What every mode of sirelo-sitecheck shares: its arguments, a search run with
// result lists and settings of its own in place of the window, and the output.

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/live_settings.h"
#include "config/site_addresses.h"
#include "sites/result_list.h"
#include "sites/search_run.h"
#include "sites/worker_context.h"

namespace sirelo::sitecheck {

struct CheckArgs {
    std::vector<std::string> positional;
    std::optional<std::string> base;  // --base URL, without a trailing "/"
    std::set<std::string> flags;      // the flags given, "--no-filters" and the like
};

// Options may stand anywhere; throws UsageError for an unknown option, a
// missing URL or a URL that is not http:// or https://.
CheckArgs ParseCheckArgs(const std::vector<std::string>& args,
                         const std::set<std::string>& knownFlags);

// The program's [站点地址] addresses, as the configuration file gives them.
SiteAddresses ConfiguredAddresses();

// A whole search run for one worker, with its keyword (GBK) set.
struct CheckRun {
    explicit CheckRun(SiteAddresses addresses, std::string keyword);
    CheckRun(const CheckRun&) = delete;
    CheckRun& operator=(const CheckRun&) = delete;

    SearchRun run;
    ResultList magnetList{kMagnetColumnCount, kMagnetLink};
    ResultList onlineList{kOnlineColumnCount};
    LiveSettings settings;
    WorkerContext context;
};

// A cell in UTF-8 with \ TAB CR LF written \\ \t \r \n, so that a row stays one line.
std::string EscapeCell(std::string_view gbk);
// One line per row, the cells in column order separated by TAB.
void PrintRows(const ResultList& list, std::FILE* out);
// The line on stderr after the rows.
void PrintSummary(const CheckRun& check, int rows, bool exhausted);

}  // namespace sirelo::sitecheck
