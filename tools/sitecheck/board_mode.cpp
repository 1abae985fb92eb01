// sirelo-sitecheck board [--base URL] [--page FILE] [--explain]

#include <cstdio>

#include "board/board_page.h"
#include "board/board_slot.h"
#include "check_run.h"
#include "explain.h"
#include "net/page_fetch.h"
#include "sitecheck_modes.h"

namespace sirelo::sitecheck {
namespace {

int RunBoard(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {"--explain", "--page"});
    if (!parsed.positional.empty()) throw UsageError("board takes no arguments but options");
    const std::string savedPage = parsed.page ? SavedPage(*parsed.page) : "";

    const SiteDefinitions definitions = CheckDefinitions(parsed);
    const BoardDefinition& board = definitions.board;
    const std::string base = parsed.base ? *parsed.base : ConfiguredAddresses(definitions).board;
    const std::string page =
        SitePageText(parsed.page ? savedPage : PageFetch(base + board.pagePath), board.encoding);
    if (parsed.flags.contains("--explain")) ExplainBoardPage(board, page, stdout);

    const std::vector<BoardFilm> films = ParseBoardPage(board, page, kShownFilmCount);
    for (int i = 1; i <= static_cast<int>(films.size()); ++i) {
        const BoardFilm& film = films[static_cast<std::size_t>(i - 1)];
        std::printf("%d\t%s\t%s\t%s\t%s\t%s\n", SlotForFilm(i)->number,
                    EscapeCell(film.name).c_str(), EscapeCell(film.posterUrl).c_str(),
                    EscapeCell(film.dateText).c_str(), EscapeCell(film.starsText).c_str(),
                    EscapeCell(film.scoreText).c_str());
    }
    std::fflush(stdout);
    std::fprintf(stderr, "films shown: %zu\n", films.size());
    return 0;
}

const bool kRegistered =
    RegisterSitecheckMode({"board", "[--base URL] [--page FILE] [--explain]", RunBoard});

}  // namespace
}  // namespace sirelo::sitecheck
