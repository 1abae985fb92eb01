// sirelo-sitecheck magnet SITE KEYWORD [PAGE] [--base URL] [--no-filters]

#include <charconv>
#include <cstdio>

#include "check_run.h"
#include "sitecheck_modes.h"
#include "sites/magnet_site.h"
#include "sites/magnet_worker.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {
namespace {

int SiteIndex(const std::string& label) {
    for (const MagnetSite& site : MagnetSites()) {
        if (site.label == label) return site.index;
    }
    throw UsageError("SITE is one of Btrabbit, ZZS, DSS, Btbook, not " + label);
}

int PageNumber(const std::string& text) {
    int page = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), page);
    if (error != std::errc() || end != text.data() + text.size() || page < 1) {
        throw UsageError("PAGE is a whole number from 1 on, not " + text);
    }
    return page;
}

int RunMagnet(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {"--no-filters"});
    if (parsed.positional.size() < 2 || parsed.positional.size() > 3) {
        throw UsageError("want SITE KEYWORD [PAGE]");
    }
    const int siteIndex = SiteIndex(parsed.positional[0]);
    const std::string& keyword = parsed.positional[1];
    if (keyword.empty()) throw UsageError("KEYWORD is empty");
    const int page = parsed.positional.size() == 3 ? PageNumber(parsed.positional[2]) : 1;

    SiteAddresses addresses = ConfiguredAddresses();
    if (parsed.base) addresses.magnet[siteIndex] = *parsed.base;
    CheckRun check(std::move(addresses), Utf8ToGbk(keyword));
    const bool filters = !parsed.flags.contains("--no-filters");
    check.settings.exactSearch = filters;
    check.settings.filterLinks = filters;
    MagnetSiteWorker(check.context, std::make_shared<std::mutex>(), siteIndex, page);

    PrintRows(check.magnetList, stdout);
    PrintSummary(check, check.magnetList.RowCount(), check.run.siteExhausted[siteIndex]);
    return 0;
}

const bool kRegistered = RegisterSitecheckMode(
    {"magnet", "SITE KEYWORD [PAGE] [--base URL] [--no-filters]   SITE: Btrabbit ZZS DSS Btbook",
     RunMagnet});

}  // namespace
}  // namespace sirelo::sitecheck
