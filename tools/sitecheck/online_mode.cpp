// sirelo-sitecheck online SITE KEYWORD [--base URL] [--explain]

#include <cstdio>

#include "check_run.h"
#include "explain.h"
#include "sitecheck_modes.h"
#include "sitedefs/definitions_loader.h"
#include "sites/online_worker.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {
namespace {

int RunOnline(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {"--explain"});
    if (parsed.positional.size() != 2) throw UsageError("want SITE KEYWORD");
    DefinitionOrigins origins;
    SiteDefinitions definitions = CheckDefinitions(parsed, &origins);
    const int siteIndex = SiteIndexById(definitions.online, parsed.positional[0]);
    const std::string& keyword = parsed.positional[1];
    if (keyword.empty()) throw UsageError("KEYWORD is empty");

    if (parsed.flags.contains("--explain")) {
        PrintOnlineDefinition(definitions.online[siteIndex],
                              "online." + KeyText(parsed.positional[0]), origins, stdout);
    }
    ApplyConfiguredAddresses(definitions);
    if (parsed.base) {
        // Kept ending in "/" where the site's paths want one.
        std::string& address = definitions.online[siteIndex].base;
        address = *parsed.base + (address.ends_with('/') ? "/" : "");
    }
    CheckRun check(definitions, Utf8ToGbk(keyword));
    UseProxy(parsed);
    OnlineSiteWorker(check.context, std::make_shared<RunRecord>(definitions), siteIndex);

    PrintRows(check.onlineList, stdout);
    PrintSummary(check, check.run.outcomes.snapshot().online[siteIndex].latest,
                 check.onlineList.RowCount(), false);
    return 0;
}

const bool kRegistered = RegisterSitecheckMode(
    {"online", "SITE KEYWORD [--base URL] [--explain]   SITE: 7DDS 乐享电影网 or an added site",
     RunOnline});

}  // namespace
}  // namespace sirelo::sitecheck
