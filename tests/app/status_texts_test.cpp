#include "app/status_texts.h"

#include <gtest/gtest.h>

#include "app/link_checks.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

std::string Utf8(const std::string& gbk) {
    return GbkToUtf8(gbk);
}

TEST(StatusTextsTest, ElapsedSecondsRoundHalfUpToTwoPlaces) {
    EXPECT_EQ(ElapsedSecondsText(5237), "5.24");
    EXPECT_EQ(ElapsedSecondsText(3500), "3.5");
    EXPECT_EQ(ElapsedSecondsText(12000), "12");
    EXPECT_EQ(ElapsedSecondsText(270), "0.27");
    EXPECT_EQ(ElapsedSecondsText(5), "0.01");  // exactly half a hundredth goes up
    EXPECT_EQ(ElapsedSecondsText(4), "0");
    EXPECT_EQ(ElapsedSecondsText(1005), "1.01");
    EXPECT_EQ(ElapsedSecondsText(0), "0");
    EXPECT_EQ(ElapsedSecondsText(4294967295u), "4294967.3");
}

TEST(StatusTextsTest, PaneTexts) {
    const StatusPanes idle = IdleStatusPanes();
    EXPECT_EQ(Utf8(idle[0]), " 磁力链接： 无");
    EXPECT_EQ(Utf8(idle[1]), " 在线播放： 无");
    EXPECT_EQ(Utf8(idle[2]), " 过滤链接： 无");
    EXPECT_EQ(Utf8(idle[3]), " 过滤资源： 无");
    EXPECT_EQ(Utf8(idle[4]), " 搜索耗时： 无");

    const StatusPanes panes = RefreshedStatusPanes({57, 3, 4, 10, 5237});
    EXPECT_EQ(Utf8(panes[0]), " 磁力链接： 57  条");
    EXPECT_EQ(Utf8(panes[1]), " 在线播放： 3  条");
    EXPECT_EQ(Utf8(panes[2]), " 过滤链接： 4  条");
    EXPECT_EQ(Utf8(panes[3]), " 过滤资源： 10  条");
    EXPECT_EQ(Utf8(panes[4]), " 搜索耗时： 5.24  秒");
}

TEST(LinkChecksTest, OnlyMagnetLinksOfASaneLengthPass) {
    EXPECT_TRUE(IsMagnetLink("magnet:?xt=urn:btih:0123"));
    EXPECT_TRUE(IsMagnetLink("MaGnEt:?xt"));
    EXPECT_TRUE(IsMagnetLink("magnet:?" + std::string(kMagnetLinkLimit - 8, 'a')));
    EXPECT_FALSE(IsMagnetLink("magnet:?" + std::string(kMagnetLinkLimit - 7, 'a')));
    EXPECT_FALSE(IsMagnetLink("magnet:xt"));
    EXPECT_FALSE(IsMagnetLink(" magnet:?xt"));
    EXPECT_FALSE(IsMagnetLink("magnet"));
    EXPECT_FALSE(IsMagnetLink("javascript:alert(1)"));
    EXPECT_FALSE(IsMagnetLink(""));
}

// The page address is the base and scraped text: the text must not lead the
// browser to another host, however it writes the authority.
TEST(LinkChecksTest, AnAddressStaysOnItsSitesHost) {
    const std::string base = "http://www.lexiangdy.cc";
    const struct {
        std::string address;
        bool stays;
    } cases[] = {
        {base + "/play/1.html", true},
        {"HTTP://WWW.LexiangDY.cc?x=1", true},
        {"http://www.lexiangdy.cc:80/play", true},
        {base, true},
        {base + "@evil.example/play", false},
        {base + ":x@evil.example/", false},
        {base + "\\@evil.example/", false},
        {base + "\\evil.example/", false},
        {base + ".evil.example/", false},
        {base + ":8080/", false},
        {base + ":/", false},
        {"https://www.lexiangdy.cc/play", false},
        {"http://evil.example/" + base, false},
        {"http:///www.lexiangdy.cc/", false},
        {"http:www.lexiangdy.cc/", false},
        {"javascript:alert(1)//www.lexiangdy.cc", false},
        {"file:///etc/passwd", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StaysOnHost(c.address, base), c.stays) << c.address;
    }
    EXPECT_TRUE(StaysOnHost("http://127.0.0.1:8080/a", "http://127.0.0.1:8080"));
    EXPECT_FALSE(StaysOnHost("http://127.0.0.1/a", "not an address"));

    // Each row only on its own site's host.
    const SiteDefinitions& sites = BuiltInSiteDefinitions();
    const std::string sevenDds = sites.online[k7dds].label, lexiang = sites.online[kLexiang].label;
    const std::string& sevenDdsBase = sites.online[k7dds].base;
    const std::string& lexiangBase = sites.online[kLexiang].base;
    EXPECT_TRUE(MayOpenOnlinePage(sites, sevenDds, sevenDdsBase + "play/1.html"));
    EXPECT_TRUE(MayOpenOnlinePage(sites, lexiang, lexiangBase + "/play/1.html"));
    EXPECT_FALSE(MayOpenOnlinePage(sites, sevenDds, lexiangBase + "/play/1.html"));
    EXPECT_FALSE(MayOpenOnlinePage(sites, lexiang, lexiangBase + "@evil.example/"));
    EXPECT_FALSE(MayOpenOnlinePage(sites, "", lexiangBase + "/play/1.html"));
}

}  // namespace
}  // namespace sirelo
