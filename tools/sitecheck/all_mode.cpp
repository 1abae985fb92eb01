// sirelo-sitecheck all KEYWORD [--page N]: every site at once, one line each.

#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
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

PageOutcome AskBoard(const BoardDefinition& board) {
    const std::string url = board.base + board.pagePath;
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

// The sites' lines in their fixed order, each printed as soon as it and every
// line before it are in. Called on the site threads and the board's thread.
class OrderedLines {
  public:
    explicit OrderedLines(std::size_t count) : lines_(count) {}

    void add(std::size_t slot, SiteLine line) {
        std::lock_guard hold(mutex_);
        lines_[slot] = std::move(line);
        for (; next_ < lines_.size() && lines_[next_]; ++next_) {
            everySiteGaveRows_ = everySiteGaveRows_ && lines_[next_]->outcome.rowsAdded > 0;
            Print(*lines_[next_]);
        }
    }

    bool everySiteGaveRows() {
        std::lock_guard hold(mutex_);
        return everySiteGaveRows_;
    }

  private:
    static void Print(const SiteLine& line) {
        const PageOutcome& outcome = line.outcome;
        std::string text = TerminalSafe(line.label) + '\t' + VerdictWord(Verdict(outcome)) + '\t' +
                           StatusText(outcome.transfer) + '\t' +
                           std::to_string(outcome.transfer.bytesReceived) + '\t' +
                           std::to_string(outcome.rowsAdded) + '\t' + std::to_string(line.ms);
        const std::string words = FailureWords(outcome);
        if (!words.empty()) text += '\t' + TerminalSafe(GbkToUtf8(words));
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }

    std::mutex mutex_;
    std::vector<std::optional<SiteLine>> lines_;
    std::size_t next_ = 0;
    bool everySiteGaveRows_ = true;
};

int RunAll(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {"--page"});
    if (parsed.positional.size() != 1 || parsed.positional[0].empty())
        throw UsageError("want KEYWORD");
    const int page = parsed.page ? PageNumber(*parsed.page) : 1;
    SiteDefinitions definitions = CheckDefinitions(parsed);
    ApplyConfiguredAddresses(definitions);
    UseProxy(parsed);

    SiteSearchOptions search;
    search.definitions = &definitions;
    search.keyword = Utf8ToGbk(parsed.positional[0]);
    search.firstPage = search.lastPage = page;
    search.startThread = StartDetached;
    for (const MagnetSite& site : definitions.magnet)
        search.sites.push_back({SiteKind::Magnet, site.index});
    for (const OnlineSite& site : definitions.online)
        search.sites.push_back({SiteKind::Online, site.index});

    // Magnet sites first, then online ones, then the board.
    OrderedLines lines(search.sites.size() + 1);
    auto lineOf = [&](std::size_t slot, const SiteOutcomes& outcomes, long long ms) {
        const SiteRef site = search.sites[slot];
        return SiteLine{
            GbkToUtf8(site.kind == SiteKind::Magnet ? definitions.magnet[site.index].label
                                                    : definitions.online[site.index].label),
            outcomes.latest, ms};
    };
    search.siteFinished = [&](std::size_t slot, const SiteOutcomes& outcomes, long long ms) {
        lines.add(slot, lineOf(slot, outcomes, ms));
    };
    std::thread board([&] {
        const auto start = std::chrono::steady_clock::now();
        PageOutcome outcome = AskBoard(definitions.board);
        lines.add(search.sites.size(), {"院线热映", std::move(outcome),
                                        std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - start)
                                            .count()});
    });
    const SiteSearchResult result = SearchSites(search);
    // A site whose thread never started has not said it finished.
    for (std::size_t slot = 0; slot < result.sites.size(); ++slot) {
        const SiteSearchAnswer& answer = result.sites[slot];
        if (!answer.finished) lines.add(slot, lineOf(slot, answer.outcomes, answer.elapsedMs));
    }
    board.join();
    return lines.everySiteGaveRows() ? 0 : 1;
}

const bool kRegistered = RegisterSitecheckMode(
    {"all", "KEYWORD [--page N]   every site at once, one line each", RunAll});

}  // namespace
}  // namespace sirelo::sitecheck
