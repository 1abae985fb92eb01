#include <gtest/gtest.h>

#include "site_test_support.h"
#include "sitedefs/program_definitions.h"
#include "sites/online_site.h"

namespace sirelo::testing {
namespace {

const OnlineSite& Site(int index) {
    return BuiltInSiteDefinitions().online[index];
}

std::vector<std::pair<std::string, std::string>> Items(int site, std::string_view base,
                                                       const std::string& page) {
    std::vector<std::pair<std::string, std::string>> items;
    for (const OnlineItem& item : ReadDetailItems(Site(site), base, page).items) {
        items.emplace_back(GbkToUtf8(item.info), GbkToUtf8(item.pageAddress));
    }
    return items;
}

TEST(OnlineHit, TakesAddressAndNameFromTheFirstLinkOfAHit) {
    const OnlineHit hit = ReadOnlineHit(Site(k7dds),
                                        Gbk("href=\"vod/103.html\">英雄儿女</a></h3><h3><a "
                                            "href=\"vod/104.html\">少年英雄</a></h3>"),
                                        "http://h/");
    EXPECT_EQ(hit.detailAddress, "http://h/vod/103.html");
    EXPECT_EQ(GbkToUtf8(hit.videoName), "英雄儿女");
    // No href=" at all: the detail address is the base alone.
    EXPECT_EQ(ReadOnlineHit(Site(k7dds), "href=x>y</a></h3>", "http://h/").detailAddress,
              "http://h/");
}

TEST(DetailPage, SevenDdsListsEveryTitledLink) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"HD国语版", "http://h/play/101-0-0.html"}, {"HD粤语版", "http://h/play/101-0-1.html"}};
    EXPECT_EQ(Items(k7dds, "http://h/", FixturePage("7dds/vod-101.html")), expected);
    EXPECT_TRUE(Items(k7dds, "http://h/", FixturePage("7dds/vod-102.html")).empty());
    EXPECT_EQ(Items(k7dds, "http://h/", FixturePage("7dds/vod-103.html")).size(), 5u);
}

TEST(DetailPage, LexiangReadsTheFirstPlayListOnly) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"HD国语", "http://h/play/2345-1-1.html"},
        {"HD粤语", "http://h/play/2345-1-2.html"},
        {"抢先版 ?", "http://h/play/2345-1-3.html"}};
    EXPECT_EQ(Items(kLexiang, "http://h", FixturePage("lexiang/movie-2345.html")), expected);
}

TEST(DetailPage, LexiangPageWithoutAPlayListGivesNoPhantomItem) {
    EXPECT_TRUE(Items(kLexiang, "http://h", FixturePage("lexiang/movie-2346.html")).empty());
    EXPECT_TRUE(Items(kLexiang, "http://h", "").empty());
    EXPECT_TRUE(Items(kLexiang, "http://h", "<li><a href=\"</a></li> ").empty());
    // The end marker needs its space: without it there is no block either.
    EXPECT_TRUE(Items(kLexiang, "http://h", "<li><a href=\"/p\">x</a></li></ul>").empty());
}

}  // namespace
}  // namespace sirelo::testing
