#pragma once
// Cutting the films out of the film-ranking page. Each of the four patterns is
// run once over the whole page; the i-th match of every pattern (and the i-th
// star paragraph) belongs to the i-th title. Nothing is re-aligned when a
// pattern finds fewer matches than there are titles: the later films then
// take the next film's piece or an empty one.

#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

// One film; every field is GBK text.
struct BoardFilm {
    std::string name;
    std::string posterUrl;
    std::string dateText;   // "上映时间：" and the date
    std::string starsText;  // the leading actors, "无" when none are named
    std::string scoreText;  // integer part and fraction part, e.g. "9.2"
};

// The first `maxFilms` films of `page` (GBK text), in page order.
std::vector<BoardFilm> ParseBoardPage(std::string_view page, int maxFilms);

// The label text for one star paragraph (the text after `star">`, up to "</p>").
std::string StarsText(std::string_view starParagraph);

// The label text for one score match.
std::string ScoreText(std::string_view scoreMatch);

}  // namespace sirelo
