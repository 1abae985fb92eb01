#include <gtest/gtest.h>

#include <chrono>

#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

TEST(TextLeftRightMid, CountBytesAndClampAtTheEnds) {
    EXPECT_EQ(TextLeft("abc", 2), "ab");
    EXPECT_EQ(TextLeft("abc", 9), "abc");
    EXPECT_EQ(TextLeft("abc", 0), "");
    EXPECT_EQ(TextRight("abc", 2), "bc");
    EXPECT_EQ(TextRight("abc", -1), "");
    EXPECT_EQ(TextMid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(TextMid("abcdef", 5, 9), "ef");
    EXPECT_EQ(TextMid("abcdef", 0, 2), "");
    EXPECT_EQ(TextMid("abcdef", 7, 1), "");
    EXPECT_EQ(TextMid("abcdef", 1, 0), "");
}

TEST(ExtractAllBetween, PiecesInOrderAndOverlapping) {
    EXPECT_EQ(ExtractAllBetween("[1][2]", "[", "]"), (TextList{"1", "2"}));
    // The next start marker is searched right after the previous one.
    EXPECT_EQ(ExtractAllBetween("[[1]", "[", "]"), (TextList{"[1", "1"}));
    EXPECT_EQ(ExtractAllBetween("[1][2", "[", "]"), (TextList{"1"}));
    EXPECT_TRUE(ExtractAllBetween("no markers", "[", "]").empty());
    EXPECT_TRUE(ExtractAllBetween("[1]", "", "]").empty());
}

TEST(ExtractAllBetween, Options) {
    ExtractOptions options;
    options.prefix = "<";
    options.suffix = ">";
    options.includeStartMarker = true;
    options.includeEndMarker = true;
    EXPECT_EQ(ExtractAllBetween("[1]", "[", "]", options), (TextList{"[<1>]"}));

    ExtractOptions bounded;
    bounded.maxLength = 3;
    EXPECT_EQ(ExtractAllBetween("[ab][abc][a]", "[", "]", bounded), (TextList{"ab", "a"}));
    bounded.maxLength = -1;  // no piece is shorter than that
    EXPECT_TRUE(ExtractAllBetween("[ab][]", "[", "]", bounded).empty());

    ExtractOptions caseless;
    caseless.ignoreCase = true;
    caseless.start = 2;
    EXPECT_EQ(ExtractAllBetween("<B>1</b><b>2</B>", "<b>", "</b>", caseless), (TextList{"2"}));
}

TEST(ExtractAllBetween, OverlapOnAHostilePageStaysBounded) {
    // Every start marker pairs with one far end marker: without a bound the
    // pieces would add up to terabytes.
    std::string page(20'000'000, '[');
    page += ']';
    const auto begin = std::chrono::steady_clock::now();
    const TextList pieces = ExtractAllBetween(page, "[", "]");
    const auto elapsed = std::chrono::steady_clock::now() - begin;
    std::size_t total = 0;
    for (const auto& piece : pieces)
        total += piece.size();
    EXPECT_LE(total, 64u << 20);
    EXPECT_FALSE(pieces.empty());
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(ExtractAllBetween, SkippedPiecesCountTowardTheBoundToo) {
    // With a maximum length the same page gives pieces that are all too long:
    // cutting them out only to drop them must stop just the same.
    std::string page(20'000'000, '[');
    page += ']';
    ExtractOptions bounded;
    bounded.maxLength = 2;
    const auto begin = std::chrono::steady_clock::now();
    ExtractAllBetween(page, "[", "]", bounded);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
}

TEST(ExtractAllBetween, ManyTinyPiecesStayBoundedToo) {
    // Empty pieces weigh nothing as text, but a list of millions of them does.
    std::string page;
    for (int i = 0; i < 16'000'000; ++i)
        page += "[]";
    const TextList pieces = ExtractAllBetween(page, "[", "]");
    EXPECT_FALSE(pieces.empty());
    EXPECT_LE(pieces.size() * sizeof(std::string), 64u << 20);
}

TEST(TextBetween, MarkersAndQuotePlaceholder) {
    EXPECT_EQ(TextBetween("a<b>c</b>d", "<b>", "</b>"), "c");
    EXPECT_EQ(TextBetween("a<b>c", "<b>", "</b>"), "");
    EXPECT_EQ(TextBetween("abc", "<b>", "c"), "");
    EXPECT_EQ(TextBetween("x\"y\"z", Gbk("#引号"), Gbk("#引号")), "y");
    EXPECT_EQ(TextBetween("<b>1</b><b>2</b>", "<b>", "</b>", 2), "2");
}

TEST(TextBefore, NothingWithoutTheMarker) {
    EXPECT_EQ(TextBefore("magnet:?xt=1&amp;dn=x", "&amp;dn="), "magnet:?xt=1");
    EXPECT_EQ(TextBefore("magnet:?xt=1", "&amp;dn="), "");
    EXPECT_EQ(TextBefore("a,b,c", ",", 3), "a,b");  // always from the first byte
    EXPECT_EQ(TextBefore("a,b", ",", 0), "a");
}

TEST(TextAfterLast, WhatFollowsTheLastMarker) {
    EXPECT_EQ(TextAfterLast("<a href=\"x\">one\">two", "\">"), "two");
    EXPECT_EQ(TextAfterLast("none here", "\">"), "");
    EXPECT_EQ(TextAfterLast("ab\">", "\">"), "");
    EXPECT_EQ(TextAfterLast("1\">2\">3", "\">", 5), "2\">3");
}

TEST(ReplacePairs, AppliesEachPairInTurnIgnoringAsciiCase) {
    EXPECT_EQ(ReplacePairs("Big <B>Fish</b> 2003", {{"<b>", ""}, {"</b>", ""}, {" ", ""}}),
              "BigFish2003");
    EXPECT_EQ(ReplacePairs("ab", {{"a", "b"}, {"b", "c"}}), "cc");
    EXPECT_EQ(ReplacePairs("1.2?GB", {{"?", " "}}), "1.2 GB");
    EXPECT_EQ(ReplacePairs("aA", {{"a", "x"}}, {}, 0, true), "xA");
    EXPECT_EQ(ReplacePairs("abc", {{"", "x"}}), "abc");
}

TEST(UrlEncode, EveryByteOrOnlyReservedOnes) {
    EXPECT_EQ(UrlEncode(" a", false, true), "%20%61");
    EXPECT_EQ(UrlEncode(" a", true, true), "%20a");
    EXPECT_EQ(UrlEncode("\n"), "%0A");
    EXPECT_EQ(UrlEncode("abc", false, true), "%61%62%63");
    EXPECT_EQ(UrlEncode("a-._~/", true), "a-.%5F%7E%2F");
    EXPECT_EQ(UrlEncode(""), "");
    // Two Chinese characters: six UTF-8 bytes, six percent groups.
    EXPECT_EQ(UrlEncode(Gbk("电影"), false, true), "%E7%94%B5%E5%BD%B1");
    EXPECT_EQ(UrlEncode(Gbk("电影"), false, false), "%B5%E7%D3%B0");
}

TEST(TextUpToZero, StopsAtTheFirstZeroByte) {
    EXPECT_EQ(TextUpToZero(std::string_view("ab\0cd", 5)), "ab");
    EXPECT_EQ(TextUpToZero("abc"), "abc");
}

TEST(LargePages, CutQuickly) {
    // A 20 MB page of result items and one 1 MB line, as a site might send.
    std::string item = Gbk("<a title=\"名字\"  href=\"x\">文件大小：<b>1 GB</b></span>\n");
    std::string page;
    while (page.size() < 20'000'000)
        page += item;
    std::string line(1'000'000, 'x');
    line += "<a title=\"end\"  href=";
    for (const std::string* text : {&page, &line}) {
        const auto begin = std::chrono::steady_clock::now();
        const TextList names = ExtractAllBetween(*text, "<a title=\"", "\"  href=");
        const auto elapsed = std::chrono::steady_clock::now() - begin;
        EXPECT_FALSE(names.empty());
        EXPECT_LT(elapsed, std::chrono::seconds(2));
    }
}

}  // namespace
}  // namespace sirelo
