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
#include "sitecheck_modes.h"
#include "sitedefs/site_definitions.h"
#include "sites/result_list.h"
#include "sites/search_run.h"
#include "sites/site_outcome.h"
#include "sites/worker_context.h"

namespace sirelo::sitecheck {

struct CheckArgs {
    std::vector<std::string> positional;
    std::optional<std::string> base;   // --base URL, without a trailing "/"
    std::optional<std::string> sites;  // --sites FILE: these definitions instead of the user's
    std::optional<std::string> page;   // --page FILE: a saved page instead of a fetched one
    std::optional<std::string> proxy;  // --proxy URL: this proxy instead of the configured one
    std::set<std::string> flags;       // the flags given, "--no-filters" and the like
};

// Options may stand anywhere; --base and --sites are known to every mode, the
// flags and "--page" only where the mode names them. Throws UsageError for an
// unknown option, a missing value or a URL that is not http:// or https://.
CheckArgs ParseCheckArgs(const std::vector<std::string>& args,
                         const std::set<std::string>& knownFlags);

// Where the keys of the definitions came from: the keys the user's file set
// and those the cached feed set (dotted, "magnet.DSS.name.start"); every other
// key is built in.
struct DefinitionOrigins {
    std::string file;  // the user's file's name, "sites.toml"
    std::set<std::string> keys;
    std::set<std::string> feedKeys;
};

// The definitions the program would run with: the built-ins, the cached copy
// of the feed, the user's file or that of --sites; every problem and warning
// of the file and a feed copy that is not in force written to stderr.
// `origins`, when given, gets the keys the file and the feed set.
SiteDefinitions CheckDefinitions(const CheckArgs& args, DefinitionOrigins* origins = nullptr);

// The place of the site `id` among `sites` (definitions.magnet or .online);
// a usage error that lists the ids when there is none.
template <typename Sites>
int SiteIndexById(const Sites& sites, const std::string& id) {
    std::string ids;
    for (const auto& site : sites) {
        if (site.id == id) return site.index;
        ids += (ids.empty() ? "" : ", ") + site.id;
    }
    throw UsageError("SITE is one of " + ids + ", not " + id);
}

// The proxy the program would use ([网络] 代理 of the configuration file), or
// that of --proxy; called before the first request.
void UseProxy(const CheckArgs& args);

// A request read from a saved page instead of the site: answered, no status.
TransferOutcome SavedPageTransfer(std::string_view bytes);

// The program's addresses: [站点地址] of the configuration file over the
// definitions' bases (ApplySiteAddresses). Each refused value is told on
// stderr; false when there was one.
bool ApplyConfiguredAddresses(SiteDefinitions& definitions);

// A page number from 1 on; throws UsageError for anything else.
int PageNumber(const std::string& text);

// The bytes of --page FILE; throws UsageError when it cannot be read.
std::string SavedPage(const std::string& path);

// `utf8` cut to `characters` characters, "..." marking a cut.
std::string Shortened(const std::string& utf8, std::size_t characters);

// How often `marker` stands in `text`, occurrences not overlapping.
std::size_t CountOf(std::string_view text, std::string_view marker);

// A whole search run for one worker, with its keyword (GBK) set.
struct CheckRun {
    // `definitions` outlive the run.
    CheckRun(const SiteDefinitions& definitions, std::string keyword);
    CheckRun(const CheckRun&) = delete;
    CheckRun& operator=(const CheckRun&) = delete;

    SearchRun run;
    ResultList magnetList{kMagnetColumnCount, kMagnetLink};
    ResultList onlineList{kOnlineColumnCount};
    LiveSettings settings;
    WorkerContext context;
};

// Text from a page, a definitions file or the settings as it may reach a
// terminal: C0 and C1 controls, DEL and malformed bytes written \xNN, so that
// nothing scraped can move the cursor, clear the screen or set the clipboard.
std::string TerminalSafe(std::string_view utf8);
// A cell in UTF-8, terminal-safe, with \ TAB CR LF written \\ \t \r \n, so
// that a row stays one line.
std::string EscapeCell(std::string_view gbk);
// One line per row, the cells in column order separated by TAB.
void PrintRows(const ResultList& list, std::FILE* out);
// The line on stderr after the rows, starting with the outcome's word.
void PrintSummary(const CheckRun& check, const PageOutcome& outcome, int rows, bool exhausted);

}  // namespace sirelo::sitecheck
