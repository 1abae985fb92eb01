#include "app/status_texts.h"

#include <gtest/gtest.h>

#include "app/link_checks.h"
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

TEST(LinkChecksTest, OnlyMagnetLinksAndWebAddressesPass) {
    EXPECT_TRUE(IsMagnetLink("magnet:?xt=urn:btih:0123"));
    EXPECT_TRUE(IsMagnetLink("MaGnEt:?xt"));
    EXPECT_FALSE(IsMagnetLink(" magnet:?xt"));
    EXPECT_FALSE(IsMagnetLink("magnet"));
    EXPECT_FALSE(IsMagnetLink("javascript:alert(1)"));
    EXPECT_FALSE(IsMagnetLink("file:///etc/passwd"));
    EXPECT_FALSE(IsMagnetLink(""));

    EXPECT_TRUE(IsWebAddress("http://www.7dds.cc/play/1"));
    EXPECT_TRUE(IsWebAddress("HTTPS://example.org"));
    EXPECT_FALSE(IsWebAddress("httpx://example.org"));
    EXPECT_FALSE(IsWebAddress("http:/example.org"));
    EXPECT_FALSE(IsWebAddress("file:///home"));
    EXPECT_FALSE(IsWebAddress("javascript:alert(1)"));
    EXPECT_FALSE(IsWebAddress("magnet:?xt"));
    EXPECT_FALSE(IsWebAddress(""));
}

}  // namespace
}  // namespace sirelo
