// sirelo-sitecheck board [--base URL] [--page FILE] [--explain]

#include <cstdio>

#include "board/board_page.h"
#include "board/board_slot.h"
#include "check_run.h"
#include "explain.h"
#include "net/page_fetch.h"
#include "sitecheck_modes.h"
#include "sites/site_outcome.h"

namespace sirelo::sitecheck {
namespace {

int RunBoard(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {"--explain", "--page"});
    if (!parsed.positional.empty()) throw UsageError("board takes no arguments but options");
    const std::string savedPage = parsed.page ? SavedPage(*parsed.page) : "";

    DefinitionOrigins origins;
    SiteDefinitions definitions = CheckDefinitions(parsed, &origins);
    const BoardDefinition& board = definitions.board;
    const bool explain = parsed.flags.contains("--explain");
    if (explain) PrintBoardDefinition(board, origins, stdout);
    ApplyConfiguredAddresses(definitions);
    const std::string base = parsed.base ? *parsed.base : board.base;
    UseProxy(parsed);
    const FetchResult fetched = parsed.page ? FetchResult{savedPage, SavedPageTransfer(savedPage)}
                                            : PageFetchWithOutcome(base + board.pagePath);
    const std::string page = SitePageText(fetched.body, board.encoding);
    if (explain) ExplainBoardPage(board, page, stdout);

    PageBudget budget;
    const std::vector<BoardFilm> films = ParseBoardPage(board, page, kShownFilmCount, &budget);
    for (int i = 1; i <= static_cast<int>(films.size()); ++i) {
        const BoardFilm& film = films[static_cast<std::size_t>(i - 1)];
        std::printf("%d\t%s\t%s\t%s\t%s\t%s\n", SlotForFilm(i)->number,
                    EscapeCell(film.name).c_str(), EscapeCell(film.posterUrl).c_str(),
                    EscapeCell(film.dateText).c_str(), EscapeCell(film.starsText).c_str(),
                    EscapeCell(film.scoreText).c_str());
    }
    std::fflush(stdout);
    PageOutcome outcome;
    outcome.transfer = fetched.outcome;
    outcome.itemsCut = static_cast<int>(films.size());
    outcome.matchesCut = budget.matchesCut;
    std::fprintf(stderr, "%s films shown: %zu\n", VerdictWord(Verdict(outcome)), films.size());
    return 0;
}

const bool kRegistered =
    RegisterSitecheckMode({"board", "[--base URL] [--page FILE] [--explain]", RunBoard});

}  // namespace
}  // namespace sirelo::sitecheck
