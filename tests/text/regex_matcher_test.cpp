#include <gtest/gtest.h>

#include <chrono>

#include "text/codepage.h"
#include "text/regex_matcher.h"

namespace sirelo {
namespace {

TEST(RegexMatcher, DefaultsIgnoreCaseAndFindEveryMatch) {
    RegexMatcher m;
    EXPECT_TRUE(m.Execute("ab", "AB xx aB"));
    EXPECT_EQ(m.MatchCount(), 2);
    EXPECT_EQ(m.MatchText(1), "AB");
    EXPECT_EQ(m.MatchText(2), "aB");
    EXPECT_EQ(m.MatchText(3), "");
    EXPECT_EQ(m.MatchText(0), "");
    EXPECT_TRUE(m.Execute("zz", "AB"));
    EXPECT_EQ(m.MatchCount(), 0);
}

TEST(RegexMatcher, GreedyMatchStaysOnOneLine) {
    RegexMatcher m;
    const std::string page =
        "<h3><a href=\"/1\">One</a></h3> <a href=\"/2\">Two</a></h3>\n"
        "<h3><a href=\"/3\">Three</a></h3>\r\n";
    m.Execute("href=.*</a></h3>", page);
    ASSERT_EQ(m.MatchCount(), 2);
    EXPECT_EQ(m.MatchText(1), "href=\"/1\">One</a></h3> <a href=\"/2\">Two</a></h3>");
    EXPECT_EQ(m.MatchText(2), "href=\"/3\">Three</a></h3>");
    m.Execute("b.c", "ab\ncd");
    EXPECT_EQ(m.MatchCount(), 0);
}

TEST(RegexMatcher, AnchorsAtLineBreaks) {
    RegexMatcher m;
    m.Execute("^x", "x1\nx2\ny");
    EXPECT_EQ(m.MatchCount(), 2);
}

TEST(RegexMatcher, MatchesComeBackAsGbk) {
    RegexMatcher m;
    const std::string page = Gbk("<p>上映时间：2019-02-05</p>\n<p>上映时间：2019-03-01</p>");
    m.Execute(Gbk("上映时间：.*</p>"), page);
    ASSERT_EQ(m.MatchCount(), 2);
    EXPECT_EQ(m.MatchText(2), Gbk("上映时间：2019-03-01</p>"));
}

TEST(RegexMatcher, InvalidPatternGivesFalseAndNoMatches) {
    RegexMatcher m;
    EXPECT_EQ(m.CurrentPattern(), "");
    m.Execute("a", "a");
    EXPECT_FALSE(m.Execute("(unclosed", "unclosed"));
    EXPECT_EQ(m.MatchCount(), 0);
    EXPECT_EQ(m.MatchText(1), "");
}

TEST(RegexMatcher, OptionsOtherThanTheDefaults) {
    RegexMatcher m;
    m.Execute("ab", "AB ab", /*caseSensitive=*/true);
    EXPECT_EQ(m.MatchCount(), 1);
    m.Execute("a", "aaa", false, true, /*global=*/false);
    EXPECT_EQ(m.MatchCount(), 1);
    m.Execute(Gbk("title=#引号x"), "title=\"x", false, true, true, /*quoteEscape=*/true);
    EXPECT_EQ(m.MatchCount(), 1);
    EXPECT_EQ(m.CurrentPattern(), "title=\"x");
    m.Execute(Gbk("#引号"), "\"", false, true, true, false);
    EXPECT_EQ(m.MatchCount(), 0);
}

TEST(RegexMatcher, EmptyMatchesAdvanceByWholeCharacters) {
    RegexMatcher m;
    m.Execute("x*", Gbk("中x"));
    EXPECT_EQ(m.MatchCount(), 3);  // before 中, "x", and at the end
    EXPECT_EQ(m.MatchText(2), "x");
}

TEST(RegexMatcher, InvalidBytesInTheSubjectDoNotStopTheSearch) {
    RegexMatcher m;
    m.Execute("b",
              "\xFF"
              "ab\x81");
    EXPECT_EQ(m.MatchCount(), 1);
}

TEST(RegexMatcher, LongPagesAreMatchedQuickly) {
    std::string line;
    while (line.size() < 1'000'000)
        line += "<h3><a href=\"/v/1.html\">Film</a></h3>";
    std::string page;
    while (page.size() < 20'000'000)
        page += "<li><a href=\"/v/2.html\">Film</a></h3></li>\n";
    // A line full of starts with no end: each start fails, the search stays bounded.
    std::string hostile(1'000'000, ' ');
    for (std::size_t i = 0; i < hostile.size(); i += 10)
        hostile.replace(i, 5, "href=");
    for (const std::string* subject : {&line, &page, &hostile}) {
        RegexMatcher m;
        const auto begin = std::chrono::steady_clock::now();
        m.Execute("href=.*</a></h3>", *subject);
        // Only a runaway search takes this long: a loaded sanitizer build needs a few seconds.
        EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(60));
    }
}

}  // namespace
}  // namespace sirelo
