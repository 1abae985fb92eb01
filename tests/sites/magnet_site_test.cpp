#include <gtest/gtest.h>

#include "site_test_support.h"
#include "sitedefs/program_definitions.h"
#include "sites/magnet_site.h"

namespace sirelo::testing {
namespace {

const MagnetSite& Site(int index) {
    return BuiltInSiteDefinitions().magnet[index];
}

Rows Cut(int site, const std::string& file) {
    return RowsOf(CutMagnetPage(Site(site), FixturePage(file)).results);
}

TEST(MagnetSiteTable, KeepsTheSpacesInsideTheMarkers) {
    EXPECT_EQ(Site(kBtrabbit).fields[kFieldName].endMarker, "\"  href=");
    EXPECT_EQ(Site(kBtrabbit).fields[kFieldLink].endMarker, "\" class=");
    EXPECT_EQ(Site(kDss).fields[kFieldSize].startMarker, Gbk("大小:<span> "));
    EXPECT_EQ(Site(kDss).fields[kFieldHeat].startMarker, Gbk("访问热度:<span> "));
    EXPECT_EQ(Site(kDss).fields[kFieldHeat].endMarker, " </span>");
    EXPECT_EQ(Site(kDss).fields[kFieldCreated].endMarker, " </span>");
    EXPECT_EQ(Site(kBtbook).fields[kFieldName].endMarker, "\" href=");
    EXPECT_EQ(Site(kBtrabbit).fields[kFieldSize].startMarker,
              "\xCE\xC4\xBC\xFE\xB4\xF3\xD0\xA1\xA3\xBA");
    for (const MagnetSite& site : BuiltInSiteDefinitions().magnet) {
        for (const FieldRule& rule : site.fields) {
            EXPECT_FALSE(rule.startMarker.empty() || rule.endMarker.empty()) << site.label;
        }
    }
}

TEST(MagnetPage, BtrabbitCutsLinksBeforeTheDisplayNameAndTurnsUnknownCharactersIntoSpaces) {
    const Rows expected = {
        {"英雄 Hero.2002.1080p.BluRay.x264.国语中字",
         "magnet:?xt=urn:btih:C5FA8ECD71B8B3436906ABBD56E7D38A8363CA64", "2.35 GB", "1523",
         "2019-03-12"},
        {"[英雄].Hero.2002.BD1080P.国粤双语.中英双字 ?",
         "magnet:?xt=urn:btih:DF4B5E4C4B9A9EECCDA9DDDBB6D8278AFF424FBF", "3.9 GB", "862",
         "2020-11-02"},
        // No &amp;dn= in its link: nothing to cut before.
        {"英雄 Hero (2002) 导演剪辑版 DVDRip", "", "700.1 MB", "95", "2016-05-20"},
        {"英雄本色 A.Better.Tomorrow.1986.1080p.粤语中字",
         "magnet:?xt=urn:btih:ED224E46627F2F18D79864A75448635F2A442B3D", "1.4 GB", "301",
         "2018-01-09"},
        // Korean has no GBK form; the page shows no heat for this one.
        {"英雄 ?? Hero.2002.HDTV.韩版",
         "magnet:?xt=urn:btih:56DE521F0CA0D663CBB6E9E0D9BC9B30D2D6C59D", "1.1 GB", "",
         "2021-07-15"},
    };
    EXPECT_EQ(Cut(kBtrabbit, "btrabbit/hero-1.html"), expected);
    EXPECT_EQ(Cut(kBtrabbit, "btrabbit/hero-2.html").size(), 2u);
}

TEST(MagnetPage, ZzsNamesLoseTheirBoldTagsAndSpacesAndLinksStayWhole) {
    const Rows expected = {
        {"英雄Hero20021080p国语",
         "magnet:?xt=urn:btih:63C82A035D4C42AB2D0511791EC3B6C6F8EDB031&amp;dn=%E8%8B%B1%E9%9B%84."
         "Hero.2002",
         "2.35 GB", "1523", "2019-03-12"},
        {"BigFish2003", "magnet:?xt=urn:btih:44778DDCB5C56AFEBB31EA18101C38DF6F66924B", "1.8 GB",
         "77", "2018-06-30"},
        {"英雄本色2ABetterTomorrowII",
         "magnet:?xt=urn:btih:C1B70C7AB9395ECEBA1B5D1E1B08EEA60C9B305F&amp;dn=A.Better.Tomorrow.II",
         "1.2 GB", "35", "2017-01-01"},
        {"英雄Hero?2002预告片",
         "magnet:?xt=urn:btih:B095175BCBBA9F0CD91F0D2B3C51F02FC0AB9BE3&amp;dn=Hero.Trailer",
         "86.4 MB", "", "2021-02-14"},
    };
    EXPECT_EQ(Cut(kZzs, "zzs/hero-1.html"), expected);
}

TEST(MagnetPage, DssDropsSpanTagsAndSpacesOutUnknownCharactersInSizes) {
    const Rows expected = {
        {"英雄 Hero 2002 1080p BluRay",
         "magnet:?xt=urn:btih:B095175BCBBA9F0CD91F0D2B3C51F02FC0AB9BE3", "1.2 GB", "1523",
         "2019-03-12"},
        {"英雄 无名 导演剪辑版",
         "magnet:?xt=urn:btih:EE820162D06BFCB1F7A4B3D67CAF1B781BD7BB82&amp;dn=Hero", "980 MB", "77",
         "2018-09-09"},
        // The name is what follows the last "> of its piece; no creation date shown.
        {"英雄 ? 2002 [国英双语]",
         "magnet:?xt=urn:btih:066FC4E3A7233A943139EC2315239C9549302E37&amp;dn=Hero.2002", "2.0 GB",
         "412", ""},
    };
    EXPECT_EQ(Cut(kDss, "dss/hero-1.html"), expected);
}

TEST(MagnetPage, BtbookPutsMagnetBackInFrontOfTheCutLink) {
    const Rows expected = {
        {"英雄 Hero 2002 1080p BluRay 国语",
         "magnet:?xt=urn:btih:69936CD105D1646D8C69C5F0C2F52E56A9DD37AE", "2.35 GB", "1523",
         "2019-03-12"},
        {"英雄 Hero.2002.BDRip ?", "magnet", "1.0 GB", "33", "2015-10-10"},
        {"&lt;英雄&gt; 幕后花絮 Making.of.Hero",
         "magnet:?xt=urn:btih:836F4A1511E93B2C39994059ABC7E5C00D8CB6F7", "312.5 MB", "",
         "2014-04-04"},
    };
    EXPECT_EQ(Cut(kBtbook, "btbook/hero-1.html"), expected);
}

TEST(MagnetPage, AnEmptyResultPageHasNoItemsOnAnySite) {
    EXPECT_TRUE(Cut(kBtrabbit, "btrabbit/empty.html").empty());
    EXPECT_TRUE(Cut(kZzs, "zzs/empty.html").empty());
    EXPECT_TRUE(Cut(kDss, "dss/empty.html").empty());
    EXPECT_TRUE(Cut(kBtbook, "btbook/empty.html").empty());
}

TEST(MagnetPage, FieldsPairByPositionAndTheNameListSetsTheCount) {
    // The second item shows no size: the sizes move up one, the last is empty.
    const std::string page =
        Gbk("<a title=\"A\"  href=x>--<a href=\"magnet:?xt=1&amp;dn=A\" class=d>"
            "文件大小：<b>1 GB</b></span>"
            "<a title=\"B\"  href=x>--<a href=\"magnet:?xt=2\" class=d>"
            "<a title=\"C\"  href=x>文件大小：<b>3 GB</b></span>");
    const Rows expected = {
        {"A", "magnet:?xt=1", "1 GB", "", ""}, {"B", "", "3 GB", "", ""}, {"C", "", "", "", ""}};
    EXPECT_EQ(RowsOf(CutMagnetPage(Site(kBtrabbit), page).results), expected);
}

TEST(MagnetPage, MarkersCountCaseButTagRemovalDoesNot) {
    const std::string page =
        Gbk("<A TITLE=\"upper\"  href=x>"
            "/torrent/1.html\"><SPAN class=\"h\">英雄</SPAN> 1</a></div>");
    EXPECT_TRUE(CutMagnetPage(Site(kBtrabbit), page).results.empty());
    ASSERT_EQ(CutMagnetPage(Site(kDss), page).results.size(), 1u);
    EXPECT_EQ(GbkToUtf8(CutMagnetPage(Site(kDss), page).results[0].name), "英雄 1");
}

}  // namespace
}  // namespace sirelo::testing
