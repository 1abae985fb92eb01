// sirelo-sitecheck board [--base URL]

#include <cstdio>

#include "board/board_page.h"
#include "board/board_slot.h"
#include "check_run.h"
#include "net/page_fetch.h"
#include "sitecheck_modes.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {
namespace {

int RunBoard(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {});
    if (!parsed.positional.empty()) throw UsageError("board takes no arguments but --base");
    const std::string base = parsed.base ? *parsed.base : ConfiguredAddresses().board;

    const std::vector<BoardFilm> films =
        ParseBoardPage(PageText(PageFetch(base + "/board")), kShownFilmCount);
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

const bool kRegistered = RegisterSitecheckMode({"board", "[--base URL]", RunBoard});

}  // namespace
}  // namespace sirelo::sitecheck
