#include "board/board_loader.h"

#include "board/board_page.h"
#include "board/board_slot.h"
#include "net/page_fetch.h"

namespace sirelo {

void loadMovieBoard(const BoardDefinition& board, std::string boardPageUrl,
                    std::shared_ptr<BoardSink> sink) {
    const std::string page = SitePageText(PageFetch(boardPageUrl), board.encoding);
    const std::vector<BoardFilm> films = ParseBoardPage(board, page, kShownFilmCount);
    for (int i = 1; i <= static_cast<int>(films.size()); ++i) {
        const BoardFilm& film = films[static_cast<std::size_t>(i - 1)];
        const int slot = SlotForFilm(i)->number;
        sink->ShowPoster(slot, PageFetch(film.posterUrl));
        sink->ShowLabel(slot, SlotLabel::Name, film.name);
        sink->ShowLabel(slot, SlotLabel::Date, film.dateText);
        sink->ShowLabel(slot, SlotLabel::Score, film.scoreText);
        sink->ShowLabel(slot, SlotLabel::Stars, film.starsText);
    }
}

}  // namespace sirelo
