#include "board/board_page.h"

#include <algorithm>

#include "text/codepage.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace sirelo {
namespace {

// Each pattern match stays on one line and runs from the first opening part on
// that line to the last closing part on it. The score pattern ends in two blanks.
constexpr std::string_view kTitlePattern = "title=\".*\" class=\"";
constexpr std::string_view kPosterPattern = "data-src=\".*\" alt";
constexpr std::string_view kDatePatternUtf8 = "上映时间：.*</p>";
constexpr std::string_view kScorePattern = "integer\">.*</i></p>  ";

// A stars text this long or longer is cut at its first comma.
constexpr std::size_t kLongStarsBytes = 25;

}  // namespace

std::string StarsText(std::string_view starParagraph) {
    const std::string names =
        ReplacePairs(TextAfterLast(starParagraph, Gbk("主演：")), {{" ", ""}});
    if (names.empty()) return Gbk("无");
    if (names.size() >= kLongStarsBytes) return TextBefore(names, ",");
    return names;
}

std::string ScoreText(std::string_view scoreMatch) {
    return TextBetween(scoreMatch, "integer\">", "</i><i") +
           TextBetween(scoreMatch, "fraction\">", "</i></p>");
}

std::vector<BoardFilm> ParseBoardPage(std::string_view page, int maxFilms) {
    const std::string dateLabel = Gbk("上映时间：");
    RegexMatcher titles, posters, dates, scores;
    titles.Execute(kTitlePattern, page);
    posters.Execute(kPosterPattern, page);
    dates.Execute(Gbk(kDatePatternUtf8), page);
    scores.Execute(kScorePattern, page);
    const TextList stars = ExtractAllBetween(page, "star\">", "</p>");

    const int count = std::min(titles.MatchCount(), maxFilms);
    std::vector<BoardFilm> films;
    films.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 1; i <= count; ++i) {
        const std::size_t at = static_cast<std::size_t>(i - 1);
        films.push_back(BoardFilm{
            .name = TextBetween(titles.MatchText(i), "title=\"", "\" class="),
            .posterUrl = TextBetween(posters.MatchText(i), "data-src=\"", "\" alt"),
            .dateText = dateLabel + TextBetween(dates.MatchText(i), dateLabel, "</p>"),
            .starsText = StarsText(at < stars.size() ? std::string_view(stars[at]) : ""),
            .scoreText = ScoreText(scores.MatchText(i)),
        });
    }
    return films;
}

}  // namespace sirelo
