#include <gtest/gtest.h>

#include <string>

#include "board/board_page.h"
#include "board/board_slot.h"
#include "board/movie_board.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

std::string Stars(std::string_view utf8Paragraph) {
    return GbkToUtf8(StarsText(BuiltInSiteDefinitions().board, Gbk(utf8Paragraph)));
}

TEST(BoardStars, CutAfterTheLabelWithoutBlanks) {
    EXPECT_EQ(Stars("主演：张三,李四"), "张三,李四");
    EXPECT_EQ(Stars("主演："), "无");
    EXPECT_EQ(Stars(""), "无");
    EXPECT_EQ(Stars("主演： 张 三"), "张三");
    EXPECT_EQ(Stars("\n  主演：旧名\n  主演：新名"), "新名");
}

TEST(BoardStars, LongTextsEndAtTheirFirstAsciiComma) {
    EXPECT_EQ(Stars("主演：一二三四五,六七八九十,甲乙丙丁"), "一二三四五");
    // 24 bytes stay whole, commas included; 25 are cut.
    EXPECT_EQ(Stars("主演：一二三四五六七八九十,ABC"), "一二三四五六七八九十,ABC");
    EXPECT_EQ(Stars("主演：一二三四五六七八九十,ABCD"), "一二三四五六七八九十");
    // Only the ASCII comma counts; a long text without one becomes empty.
    EXPECT_EQ(Stars("主演：一二三四五，六七八九十，甲乙丙丁"), "");
}

TEST(BoardScore, IntegerAndFractionJoined) {
    EXPECT_EQ(ScoreText(BuiltInSiteDefinitions().board,
                        "integer\">8.</i><i class=\"fraction\">7</i></p>  "),
              "8.7");
    EXPECT_EQ(ScoreText(BuiltInSiteDefinitions().board, "integer\">8.</i></p>  "), "");
}

std::string Film(std::string_view name, std::string_view scoreLineEnd) {
    return std::string("<a href=\"/f\" title=\"") + std::string(name) +
           "\" class=\"image-link\">\n<img data-src=\"http://p/" + std::string(name) +
           ".jpg\" alt=\"x\" class=\"board-img\" />\n<p class=\"star\">主演：某</p>\n"
           "<p class=\"releasetime\">上映时间：2019-02-05</p>\n"
           "<p class=\"score\"><i class=\"integer\">8.</i><i class=\"fraction\">7</i></p>" +
           std::string(scoreLineEnd) + "\n";
}

TEST(BoardPage, OneFilmPerTitleWithAllFiveTexts) {
    const std::vector<BoardFilm> films = ParseBoardPage(
        BuiltInSiteDefinitions().board, Gbk(Film("甲", "  ") + Film("乙", "  ")), kShownFilmCount);
    ASSERT_EQ(films.size(), 2u);
    EXPECT_EQ(GbkToUtf8(films[1].name), "乙");
    EXPECT_EQ(films[1].posterUrl, Gbk("http://p/乙.jpg"));
    EXPECT_EQ(GbkToUtf8(films[1].dateText), "上映时间：2019-02-05");
    EXPECT_EQ(GbkToUtf8(films[1].starsText), "某");
    EXPECT_EQ(films[1].scoreText, "8.7");
}

TEST(BoardPage, ScoreLineNeedsTwoBlanksAfterTheParagraph) {
    const std::vector<BoardFilm> films =
        ParseBoardPage(BuiltInSiteDefinitions().board, Gbk(Film("甲", " ")), kShownFilmCount);
    ASSERT_EQ(films.size(), 1u);
    EXPECT_EQ(films[0].scoreText, "");
}

TEST(BoardPage, GreedyMatchesRunToTheLastClosingPartOfTheLine) {
    const std::vector<BoardFilm> films = ParseBoardPage(
        BuiltInSiteDefinitions().board,
        "<a title=\"A\" class=\"x\"> <b title=\"B\" class=\"y\">\n<a TITLE=\"C\" CLASS=\"z\">",
        kShownFilmCount);
    ASSERT_EQ(films.size(), 2u);
    // The first match spans both titles of its line; its name ends at the first close.
    EXPECT_EQ(films[0].name, "A");
    // The pattern ignores case, the markers do not.
    EXPECT_EQ(films[1].name, "");
}

TEST(BoardPage, NothingUsableGivesNoFilm) {
    EXPECT_TRUE(ParseBoardPage(BuiltInSiteDefinitions().board, "", kShownFilmCount).empty());
    EXPECT_TRUE(ParseBoardPage(BuiltInSiteDefinitions().board,
                               "<html>data-src=\"x\" alt integer\">1.</i></p>  </html>",
                               kShownFilmCount)
                    .empty());
}

TEST(BoardPage, OnlyTheFilmsAskedForAreCut) {
    std::string page;
    for (int i = 0; i < 100000; ++i)
        page += "title=\"x\" class=\"\n";
    EXPECT_EQ(ParseBoardPage(BuiltInSiteDefinitions().board, page, 10).size(), 10u);
    EXPECT_EQ(ParseBoardPage(BuiltInSiteDefinitions().board, page, 0).size(), 0u);
}

TEST(BoardSlots, FilmsOneToTenSkipTheSixthSlot) {
    std::vector<int> slots;
    for (int film = 0; film <= 12; ++film) {
        const std::optional<BoardSlot> slot = SlotForFilm(film);
        slots.push_back(slot ? slot->number : 0);
    }
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 0, 0}));
    EXPECT_TRUE(BoardSlot{6}.IsPromotion());
    EXPECT_TRUE(BoardSlot{12}.IsPromotion());
    EXPECT_FALSE(BoardSlot{7}.IsPromotion());
    EXPECT_EQ(BoardSlot{7}.Column(), BoardSlot{1}.Column());
}

std::string Describe(const std::vector<HalfSwitchStep>& steps) {
    std::string out;
    for (const HalfSwitchStep& step : steps) {
        out += step.show ? '+' : '-';
        out += "PND"[static_cast<int>(step.control)];
        out += std::to_string(step.slot) + " ";
    }
    return out;
}

TEST(MovieBoard, EachToggleHidesOneHalfThenShowsTheOther) {
    MovieBoard board;
    EXPECT_EQ(board.halfMarker(), "");
    const std::string toSecond = Describe(board.toggleBoardHalf());
    EXPECT_EQ(GbkToUtf8(board.halfMarker()), "第二页");
    EXPECT_EQ(toSecond,
              "-P1 -P2 -P3 -P4 -P5 -P6 -N1 -N2 -N3 -N4 -N5 -N6 -D1 -D2 -D3 -D4 -D5 -D6 "
              "+P7 +P8 +P9 +P10 +P11 +P12 +N7 +N8 +N9 +N10 +N11 +N12 "
              "+D7 +D8 +D9 +D10 +D11 +D12 ");
    const std::string toFirst = Describe(board.toggleBoardHalf());
    EXPECT_EQ(board.halfMarker(), "");
    EXPECT_EQ(toFirst.substr(0, 24), "-P7 -P8 -P9 -P10 -P11 -P");
    EXPECT_EQ(toFirst.substr(toFirst.size() - 8), "+D5 +D6 ");
}

}  // namespace
}  // namespace sirelo
