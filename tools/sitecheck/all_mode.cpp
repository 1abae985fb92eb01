// sirelo-sitecheck all KEYWORD [--page N]: every site at once, one line each.

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/detached_thread.h"
#include "app/outcome_texts.h"
#include "board/board_page.h"
#include "board/board_slot.h"
#include "check_run.h"
#include "net/http_limits.h"
#include "net/page_fetch.h"
#include "net/url_cookies.h"
#include "sitecheck_modes.h"
#include "sites/site_search.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {
namespace {

struct SiteLine {
    std::string label;  // UTF-8
    PageOutcome outcome;
    long long ms = 0;
};

std::string StatusText(const TransferOutcome& transfer) {
    return transfer.end == TransferEnd::Answered || transfer.httpStatus > 0
               ? std::to_string(transfer.httpStatus)
               : "-";
}

PageOutcome AskBoard(const SiteDefinitions& definitions, const SiteAddresses& addresses) {
    const BoardDefinition& board = definitions.board;
    const std::string url = addresses.board + board.pagePath;
    PageBudget budget = PageBudgetFromNow();
    const FetchResult fetched = PageFetchWithOutcome(url);
    PageOutcome outcome;
    outcome.host = UrlHost(url);
    outcome.transfer = fetched.outcome;
    const std::string page = SitePageText(fetched.body, board.encoding);
    outcome.itemsCut =
        static_cast<int>(ParseBoardPage(board, page, kShownFilmCount, &budget).size());
    outcome.matchesCut = budget.matchesCut;
    outcome.rowsAdded = outcome.itemsCut;
    return outcome;
}

int RunAll(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {"--page"});
    if (parsed.positional.size() != 1 || parsed.positional[0].empty())
        throw UsageError("want KEYWORD");
    const int page = parsed.page ? PageNumber(*parsed.page) : 1;
    const SiteDefinitions definitions = CheckDefinitions(parsed);
    UseProxy(parsed);

    SiteSearchOptions search;
    search.definitions = &definitions;
    search.addresses = ConfiguredAddresses(definitions);
    search.keyword = Utf8ToGbk(parsed.positional[0]);
    search.firstPage = search.lastPage = page;
    search.startThread = StartDetached;
    for (const MagnetSite& site : definitions.magnet)
        search.sites.push_back({SiteKind::Magnet, site.index});
    for (const OnlineSite& site : definitions.online)
        search.sites.push_back({SiteKind::Online, site.index});

    SiteLine boardLine{"院线热映", {}, 0};
    std::thread board([&] {
        const auto start = std::chrono::steady_clock::now();
        boardLine.outcome = AskBoard(definitions, search.addresses);
        boardLine.ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    });
    const SiteSearchResult result = SearchSites(search);
    board.join();

    std::vector<SiteLine> lines;
    for (const SiteSearchAnswer& answer : result.sites) {
        const bool magnet = answer.site.kind == SiteKind::Magnet;
        lines.push_back({GbkToUtf8(magnet ? definitions.magnet[answer.site.index].label
                                          : definitions.online[answer.site.index].label),
                         answer.outcomes.latest, answer.elapsedMs});
    }
    lines.push_back(boardLine);

    bool everySiteGaveRows = true;
    for (const SiteLine& line : lines) {
        const PageOutcome& outcome = line.outcome;
        everySiteGaveRows = everySiteGaveRows && outcome.rowsAdded > 0;
        std::string text = TerminalSafe(line.label) + '\t' + VerdictWord(Verdict(outcome)) + '\t' +
                           StatusText(outcome.transfer) + '\t' +
                           std::to_string(outcome.transfer.bytesReceived) + '\t' +
                           std::to_string(outcome.rowsAdded) + '\t' + std::to_string(line.ms);
        const std::string words = FailureWords(outcome);
        if (!words.empty()) text += '\t' + TerminalSafe(GbkToUtf8(words));
        std::printf("%s\n", text.c_str());
    }
    return everySiteGaveRows ? 0 : 1;
}

const bool kRegistered = RegisterSitecheckMode(
    {"all", "KEYWORD [--page N]   every site at once, one line each", RunAll});

}  // namespace
}  // namespace sirelo::sitecheck
