#include "net/url_cookies.h"

#include <gtest/gtest.h>

namespace sirelo {
namespace {

TEST(UrlHostTest, LowerCasesAndKeepsThePortOnlyWhenAsked) {
    EXPECT_EQ(UrlHost("HTTP://WWW.EXAMPLE.COM:8080/Index.PHP"), "www.example.com");
    EXPECT_EQ(UrlHost("HTTP://WWW.EXAMPLE.COM:8080/Index.PHP", true), "www.example.com:8080");
    EXPECT_EQ(UrlHost("https://secure.example.com/a/b"), "secure.example.com");
}

TEST(UrlHostTest, TakesAnAddressWithoutSchemeOrSlashAsItsHost) {
    EXPECT_EQ(UrlHost("example.com"), "example.com");
    EXPECT_EQ(UrlHost("example.com:81", true), "example.com:81");
}

TEST(UrlHostTest, LeavesTheSecondByteOfADoubleByteCharacterAlone) {
    // B0 41 is one GBK character; its trail byte "A" must not become "a"
    EXPECT_EQ(UrlHost("http://X\xB0"
                      "A.cn/"),
              "x\xB0"
              "A.cn");
}

TEST(UrlHostTest, ASlashThatIsTheSecondByteOfACharacterEndsNoHost) {
    // B0 2F is one character, so the address does not end in "/" and gets one.
    EXPECT_EQ(UrlHost("http://x\xB0/"), "x\xB0/");
    EXPECT_EQ(UrlHost("http://x\xB0/y/z"), "x\xB0/y");
}

TEST(UrlPortTest, ComesFromTheAddressOrItsScheme) {
    EXPECT_EQ(UrlPort("https://example.com/x"), 443);
    EXPECT_EQ(UrlPort("HTTPS://example.com"), 443);
    EXPECT_EQ(UrlPort("example.com/x"), 80);
    EXPECT_EQ(UrlPort("http://example.com:8080/x"), 8080);
    EXPECT_EQ(UrlPort("https://example.com:8443"), 8443);
}

TEST(UrlPortTest, ReadsOnlyTheLeadingDigitsAfterTheColon) {
    EXPECT_EQ(UrlPort("http://example.com:81abc/"), 81);
    EXPECT_EQ(UrlPort("http://example.com:/"), 0);
}

TEST(UrlPathTest, KeepsQueryAndCase) {
    EXPECT_EQ(UrlPath("http://www.example.com/index.php?m=vod-search"), "/index.php?m=vod-search");
    EXPECT_EQ(UrlPath("HTTP://WWW.Example.COM/Sou/ABC.html?Q=X"), "/Sou/ABC.html?Q=X");
    EXPECT_EQ(UrlPath("http://127.0.0.1:8080/a/b"), "/a/b");
}

TEST(UrlPathTest, IsASlashWhenTheAddressEndsAfterTheHost) {
    EXPECT_EQ(UrlPath("http://www.example.com"), "/");
    EXPECT_EQ(UrlPath("https://127.0.0.1:8443"), "/");
    EXPECT_EQ(UrlPath("example.com"), "/");
}

TEST(AgentFromHeadersTest, IsTheTrimmedRestAfterTheFirstColon) {
    EXPECT_EQ(AgentFromHeaders("User-Agent:  Probe/1.0 "), "Probe/1.0");
    EXPECT_EQ(AgentFromHeaders("User-Agent: \r\nX-A: b"), "\r\nX-A: b");
    EXPECT_EQ(AgentFromHeaders("no colon here"), "");
}

TEST(CookieNameTest, IsTheTrimmedTextBeforeTheFirstEquals) {
    EXPECT_EQ(CookieName(" sid = abc=def"), "sid");
    EXPECT_EQ(CookieName("flag"), "flag");
    EXPECT_TRUE(HasCookieNamed({"a=1", "sid=2"}, "sid"));
    EXPECT_FALSE(HasCookieNamed({"a=1", "SID=2"}, "sid"));
}

TEST(MergeCookiesTest, NewValuesWinAndDeletedEntriesGo) {
    EXPECT_EQ(MergeCookies("a=1; b=2", "b=3; c=deleted"), "b=3; a=1");
}

TEST(MergeCookiesTest, OfTheOldEntriesWithOneNameTheFirstWins) {
    EXPECT_EQ(MergeCookies("a=1; a=2; d=4", "b=3"), "b=3; a=1; d=4");
}

TEST(MergeCookiesTest, WithoutOldCookiesCleansTheNewOnes) {
    EXPECT_EQ(MergeCookies("", " x = 1 ; y=deleted; x = 1; z=2"), "x=1; z=2");
    EXPECT_EQ(MergeCookies("", ""), "");
}

TEST(MergeCookiesTest, RemovesFullWidthSpacesToo) {
    EXPECT_EQ(MergeCookies("a=\xA1\xA1"
                           "1",
                           "b=2"),
              "b=2; a=1");
}

TEST(MergeCookiesTest, DropsAnOldCookieTheServerDeleted) {
    EXPECT_EQ(MergeCookies("sid=old; lang=zh", "sid=deleted"), "lang=zh");
}

TEST(RemoveDuplicatesTest, KeepsTheFirstOfEachPieceInOrder) {
    EXPECT_EQ(RemoveDuplicates("x; y; x; z", "; "), "x; y; z");
    EXPECT_EQ(RemoveDuplicates("X; x", "; "), "X; x");
    EXPECT_EQ(RemoveDuplicates("", "; "), "");
}

}  // namespace
}  // namespace sirelo
