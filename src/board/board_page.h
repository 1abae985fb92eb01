#pragma once
// Cutting the films out of the film-ranking page, as the board's definition
// (sitedefs/site_definitions.h) says. Each of the four patterns is run once
// over the whole page; the i-th match of every pattern (and the i-th star
// paragraph) belongs to the i-th title. Nothing is re-aligned when a pattern
// finds fewer matches than there are titles: the later films then take the
// next film's piece or an empty one.

#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/site_definitions.h"
#include "text/page_budget.h"

namespace sirelo {

// One film; every field is GBK text.
struct BoardFilm {
    std::string name;
    std::string posterUrl;
    std::string dateText;   // "上映时间：" and the date
    std::string starsText;  // the leading actors, "无" when none are named
    std::string scoreText;  // integer part and fraction part, e.g. "9.2"
};

// The first `maxFilms` films of `page` (GBK text), in page order. The
// searches draw from `budget` when one is given, else from a fresh one.
std::vector<BoardFilm> ParseBoardPage(const BoardDefinition& board, std::string_view page,
                                      int maxFilms, PageBudget* budget = nullptr);

// The label text for one star paragraph (the text between the stars markers).
std::string StarsText(const BoardDefinition& board, std::string_view starParagraph);

// The label text for one score match.
std::string ScoreText(const BoardDefinition& board, std::string_view scoreMatch);

}  // namespace sirelo
