// sirelo-sitecheck all KEYWORD [--page N]: every site at once, one line each.

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "app/outcome_texts.h"
#include "board/board_page.h"
#include "board/board_slot.h"
#include "check_run.h"
#include "net/http_limits.h"
#include "net/page_fetch.h"
#include "net/url_cookies.h"
#include "sitecheck_modes.h"
#include "sites/magnet_worker.h"
#include "sites/online_worker.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {
namespace {

constexpr int kSiteCount = int{kMagnetSiteCount} + int{kOnlineSiteCount} + 1;

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
    CheckRun check(definitions, ConfiguredAddresses(definitions), Utf8ToGbk(parsed.positional[0]));
    const RunLock lock = std::make_shared<RunRecord>(definitions);
    UseProxy(parsed);

    std::array<SiteLine, kSiteCount> lines;
    std::array<std::function<void()>, kSiteCount> asks;
    for (int i = 0; i < kMagnetSiteCount; ++i) {
        lines[i].label = kMagnetSiteIds[i];
        asks[i] = [&check, lock, i, page] { MagnetSiteWorker(check.context, lock, i, page); };
    }
    for (int i = 0; i < kOnlineSiteCount; ++i) {
        lines[kMagnetSiteCount + i].label = kOnlineSiteIds[i];
        asks[kMagnetSiteCount + i] = [&check, lock, i] {
            OnlineSiteWorker(check.context, lock, i);
        };
    }
    SiteLine& boardLine = lines[kSiteCount - 1];
    boardLine.label = "院线热映";
    asks[kSiteCount - 1] = [&] {
        boardLine.outcome = AskBoard(definitions, check.context.addresses);
    };

    std::vector<std::thread> threads;
    for (int i = 0; i < kSiteCount; ++i) {
        threads.emplace_back([&lines, &asks, i] {
            const auto start = std::chrono::steady_clock::now();
            asks[i]();
            lines[i].ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const RunOutcomeSnapshot recorded = check.run.outcomes.snapshot();
    for (int i = 0; i < kMagnetSiteCount; ++i)
        lines[i].outcome = recorded.magnet[i].latest;
    for (int i = 0; i < kOnlineSiteCount; ++i)
        lines[kMagnetSiteCount + i].outcome = recorded.online[i].latest;

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
