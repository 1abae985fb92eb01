// sirelo-sitecheck magnet SITE KEYWORD [PAGE] [--base URL] [--page FILE] [--explain] [--no-filters]

#include <cstdio>

#include "check_run.h"
#include "explain.h"
#include "net/page_fetch.h"
#include "sitecheck_modes.h"
#include "sitedefs/definitions_loader.h"
#include "sites/magnet_site.h"
#include "sites/magnet_worker.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {
namespace {

int RunMagnet(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {"--no-filters", "--explain", "--page"});
    if (parsed.positional.size() < 2 || parsed.positional.size() > 3) {
        throw UsageError("want SITE KEYWORD [PAGE]");
    }
    DefinitionOrigins origins;
    SiteDefinitions definitions = CheckDefinitions(parsed, &origins);
    const int siteIndex = SiteIndexById(definitions.magnet, parsed.positional[0]);
    const std::string& keyword = parsed.positional[1];
    if (keyword.empty()) throw UsageError("KEYWORD is empty");
    const int page = parsed.positional.size() == 3 ? PageNumber(parsed.positional[2]) : 1;
    const std::string savedPage = parsed.page ? SavedPage(*parsed.page) : "";

    const MagnetSite& site = definitions.magnet[siteIndex];
    const bool explain = parsed.flags.contains("--explain");
    if (explain) {
        PrintMagnetDefinition(site, "magnet." + KeyText(parsed.positional[0]), origins, stdout);
    }
    ApplyConfiguredAddresses(definitions);
    if (parsed.base) definitions.magnet[siteIndex].base = *parsed.base;
    CheckRun check(definitions, Utf8ToGbk(keyword));
    const bool filters = !parsed.flags.contains("--no-filters");
    check.settings.exactSearch = filters;
    check.settings.filterLinks = filters;

    // The worker's own steps: the page's address, its bytes, the rows they give.
    UseProxy(parsed);
    const std::string url = MagnetPageUrl(site, site.base, check.run.keyword(), page);
    const FetchResult fetched = parsed.page ? FetchResult{savedPage, SavedPageTransfer(savedPage)}
                                            : PageFetchWithOutcome(url);
    if (explain) {
        ExplainMagnetPage(site, SitePageText(fetched.body, site.encoding), stdout);
    }
    RunRecord run(definitions);
    const PageOutcome outcome =
        AddMagnetPage(check.context, run, site, check.run.keyword(), fetched);

    PrintRows(check.magnetList, stdout);
    PrintSummary(check, outcome, check.magnetList.RowCount(), check.run.siteExhausted[siteIndex]);
    return 0;
}

const bool kRegistered = RegisterSitecheckMode(
    {"magnet",
     "SITE KEYWORD [PAGE] [--base URL] [--page FILE] [--explain] [--no-filters]\n"
     "      SITE: Btrabbit ZZS DSS Btbook; --page cuts a saved page instead of fetching",
     RunMagnet});

}  // namespace
}  // namespace sirelo::sitecheck
