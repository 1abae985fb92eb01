#include "board/board_page.h"

#include <algorithm>

#include "text/codepage.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace sirelo {
namespace {

// A stars text this long or longer is cut at its first separator.
constexpr std::size_t kLongStarsBytes = 25;

std::string FieldOf(const BoardField& field, std::string_view match) {
    return TextBetween(match, field.startMarker, field.endMarker);
}

}  // namespace

std::string StarsText(const BoardDefinition& board, std::string_view starParagraph) {
    const std::string names =
        ReplacePairs(TextAfterLast(starParagraph, board.starsLabel), {{" ", ""}});
    if (names.empty()) return Gbk("无");
    if (names.size() >= kLongStarsBytes) return TextBefore(names, board.starsSeparator);
    return names;
}

std::string ScoreText(const BoardDefinition& board, std::string_view scoreMatch) {
    return FieldOf(board.score, scoreMatch) +
           TextBetween(scoreMatch, board.fractionStart, board.fractionEnd);
}

std::vector<BoardFilm> ParseBoardPage(const BoardDefinition& board, std::string_view page,
                                      int maxFilms, PageBudget* budget) {
    const std::string dateLabel = Gbk("上映时间：");
    PageBudget fresh;
    const MatchOptions options{.maxMatches = std::max(maxFilms, 0),
                               .budget = budget ? budget : &fresh};
    RegexMatcher titles, posters, dates, scores;
    titles.Execute(board.name.pattern, page, options);
    posters.Execute(board.poster.pattern, page, options);
    dates.Execute(board.date.pattern, page, options);
    scores.Execute(board.score.pattern, page, options);
    const TextList stars = ExtractAllBetween(page, board.starsStart, board.starsEnd);

    const int count = std::min(titles.MatchCount(), maxFilms);
    std::vector<BoardFilm> films;
    films.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 1; i <= count; ++i) {
        const std::size_t at = static_cast<std::size_t>(i - 1);
        films.push_back(BoardFilm{
            .name = FieldOf(board.name, titles.MatchText(i)),
            .posterUrl = FieldOf(board.poster, posters.MatchText(i)),
            .dateText = dateLabel + FieldOf(board.date, dates.MatchText(i)),
            .starsText = StarsText(board, at < stars.size() ? std::string_view(stars[at]) : ""),
            .scoreText = ScoreText(board, scores.MatchText(i)),
        });
    }
    return films;
}

}  // namespace sirelo
