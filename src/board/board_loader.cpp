#include "board/board_loader.h"

#include "board/board_page.h"
#include "board/board_slot.h"
#include "net/http_limits.h"
#include "net/page_fetch.h"
#include "net/url_cookies.h"

namespace sirelo {

void loadMovieBoard(const BoardDefinition& board, std::string boardPageUrl,
                    std::shared_ptr<BoardSink> sink) {
    BoardOutcome outcome;
    outcome.host = UrlHost(boardPageUrl);
    PageBudget budget = PageBudgetFromNow();
    const FetchResult fetched = PageFetchWithOutcome(boardPageUrl);
    outcome.page = fetched.outcome;
    const std::string page = SitePageText(fetched.body, board.encoding);
    const std::vector<BoardFilm> films = ParseBoardPage(board, page, kShownFilmCount, &budget);
    outcome.films = static_cast<int>(films.size());
    outcome.matchesCut = budget.matchesCut;
    sink->ShowOutcome(outcome);
    for (int i = 1; i <= static_cast<int>(films.size()); ++i) {
        const BoardFilm& film = films[static_cast<std::size_t>(i - 1)];
        const int slot = SlotForFilm(i)->number;
        if (!sink->ShowPoster(slot, PageFetch(film.posterUrl))) ++outcome.postersFailed;
        sink->ShowLabel(slot, SlotLabel::Name, film.name);
        sink->ShowLabel(slot, SlotLabel::Date, film.dateText);
        sink->ShowLabel(slot, SlotLabel::Score, film.scoreText);
        sink->ShowLabel(slot, SlotLabel::Stars, film.starsText);
    }
    if (!films.empty()) sink->ShowOutcome(outcome);
}

}  // namespace sirelo
