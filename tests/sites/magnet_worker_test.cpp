#include <gtest/gtest.h>

#include "fixture_sites.h"
#include "site_test_support.h"
#include "sites/info_hash.h"
#include "sites/magnet_worker.h"

namespace sirelo::testing {
namespace {

using fixtures::FixtureSites;

class MagnetWorkerTest : public ::testing::Test {
  protected:
    FixtureSites sites{SIRELO_FIXTURES_DIR};
};

TEST_F(MagnetWorkerTest, AsksEachSiteForItsPagePath) {
    WorkerHarness harness(sites.definitions(), "abc");
    for (int site = 0; site < kMagnetSiteCount; ++site) {
        MagnetSiteWorker(harness.context, harness.lock, site, 3);
    }
    EXPECT_EQ(sites.requestCount("Btrabbit", "/search/%61%62%63/default-3.html"), 1u);
    EXPECT_EQ(sites.requestCount("ZZS", "/list/%61%62%63/rel/3"), 1u);
    EXPECT_EQ(sites.requestCount("DSS", "/list/%61%62%63/3"), 1u);
    EXPECT_EQ(sites.requestCount("Btbook", "/sou/%61%62%63/time-3.html"), 1u);
    ASSERT_EQ(sites.requests("DSS").size(), 1u);
    EXPECT_EQ(sites.requests("DSS")[0].method, "GET");
    EXPECT_EQ(harness.statusRefreshes, kMagnetSiteCount);
}

TEST_F(MagnetWorkerTest, SendsAChineseKeywordAsItsUtf8Bytes) {
    WorkerHarness harness(sites.definitions(), "蝙蝠");
    MagnetSiteWorker(harness.context, harness.lock, kDss, 1);
    EXPECT_EQ(sites.requestCount("DSS", "/list/%E8%9D%99%E8%9D%A0/1"), 1u);
}

TEST_F(MagnetWorkerTest, AddsTheRowsOfItsPageWithItsLabel) {
    WorkerHarness harness(sites.definitions(), "英雄");
    MagnetSiteWorker(harness.context, harness.lock, kZzs, 1);
    const Rows rows = RowsOf(harness.magnetList);
    // BigFish2003 lacks the keyword.
    EXPECT_EQ(Column(rows, kMagnetOrdinal), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Column(rows, kMagnetSite), (std::vector<std::string>{"ZZS", "ZZS", "ZZS"}));
    EXPECT_EQ(rows[1][kMagnetName], "英雄本色2ABetterTomorrowII");
    EXPECT_EQ(harness.run.filteredItems, 1);
    EXPECT_FALSE(harness.run.siteExhausted[kZzs]);
    EXPECT_EQ(harness.statusRefreshes, 1);
}

TEST_F(MagnetWorkerTest, AnEmptyPageMarksTheSiteAndLaterWorkersAskNothing) {
    WorkerHarness harness(sites.definitions(), "英雄");
    MagnetSiteWorker(harness.context, harness.lock, kBtbook, 3);
    EXPECT_TRUE(harness.run.siteExhausted[kBtbook]);
    MagnetSiteWorker(harness.context, harness.lock, kBtbook, 1);
    EXPECT_EQ(sites.requestCount("Btbook"), 1u);
    EXPECT_EQ(harness.magnetList.RowCount(), 0);
    EXPECT_EQ(harness.statusRefreshes, 2);
}

TEST_F(MagnetWorkerTest, FiltersReadTheLiveSettingsForEveryItem) {
    WorkerHarness harness(sites.definitions(), "英雄");
    harness.settings.exactSearch = false;
    MagnetSiteWorker(harness.context, harness.lock, kZzs, 1);
    EXPECT_EQ(harness.magnetList.RowCount(), 4);
    // The same page again: every link is already listed.
    MagnetSiteWorker(harness.context, harness.lock, kZzs, 1);
    EXPECT_EQ(harness.run.filteredLinks, 4);
    harness.settings.filterLinks = false;
    MagnetSiteWorker(harness.context, harness.lock, kZzs, 1);
    EXPECT_EQ(harness.magnetList.RowCount(), 8);
    EXPECT_EQ(harness.run.filteredItems, 0);
}

TEST_F(MagnetWorkerTest, OneRowPerTorrentNamesEachSiteOnceInTheListedRow) {
    WorkerHarness harness(sites.definitions(), "英雄");
    harness.settings.exactSearch = false;
    harness.settings.oneRowPerTorrent = true;
    MagnetSiteWorker(harness.context, harness.lock, kZzs, 2);
    const int zzsRows = harness.magnetList.RowCount();
    // DSS gives one of those torrents under another link; asked twice, it is named once.
    MagnetSiteWorker(harness.context, harness.lock, kDss, 1);
    const int rows = harness.magnetList.RowCount();
    const int filtered = harness.run.filteredLinks;
    MagnetSiteWorker(harness.context, harness.lock, kDss, 1);
    EXPECT_EQ(harness.magnetList.RowCount(), rows);
    EXPECT_EQ(harness.run.filteredLinks - filtered, rows - zzsRows + 1);
    const std::optional<InfoHash> hash =
        InfoHashOf("magnet:?xt=urn:btih:ee820162d06bfcb1f7a4b3d67caf1b781bd7bb82");
    const int row = harness.magnetList.FindRowByInfoHash(*hash);
    ASSERT_GE(row, 0);
    ASSERT_LT(row, zzsRows);
    EXPECT_EQ(RowsOf(harness.magnetList)[row][kMagnetSite], "ZZS、DSS");
    EXPECT_NE(harness.magnetList.CellText(row, kMagnetLink).find("Cantonese"), std::string::npos);
}

TEST_F(MagnetWorkerTest, KeywordIsTakenAsTypedAndCaseCounts) {
    WorkerHarness harness(sites.definitions(), "Batman");
    MagnetSiteWorker(harness.context, harness.lock, kBtrabbit, 1);
    const std::vector<std::string> names = Column(RowsOf(harness.magnetList), kMagnetName);
    EXPECT_EQ(names, (std::vector<std::string>{"Batman Begins 2005 1080p BluRay",
                                               "The Batman 2022 2160p WEB-DL",
                                               "Batman The Dark Knight 2008 IMAX 1080p"}));
    EXPECT_EQ(harness.run.filteredItems, 1);  // batman.forever.1995.dvdrip
}

TEST_F(MagnetWorkerTest, ScrollsToEachNewRowOnlyWhenAsked) {
    WorkerHarness harness(sites.definitions(), "英雄");
    ScrollLog scrolls;
    harness.magnetList.setObserver(&scrolls);
    MagnetSiteWorker(harness.context, harness.lock, kBtrabbit, 2);
    EXPECT_TRUE(scrolls.rows().empty());
    harness.settings.keepNewestShown = true;
    MagnetSiteWorker(harness.context, harness.lock, kBtrabbit, 1);
    EXPECT_EQ(scrolls.rows(), (std::vector<int>{2, 3, 4, 5, 6}));
}

TEST_F(MagnetWorkerTest, AnUnknownSiteOrNoLockStillRefreshesTheStatusBar) {
    WorkerHarness harness(sites.definitions(), "英雄");
    MagnetSiteWorker(harness.context, harness.lock, kMagnetSiteCount, 1);
    MagnetSiteWorker(harness.context, nullptr, kDss, 1);
    EXPECT_EQ(harness.statusRefreshes, 2);
    EXPECT_EQ(sites.requestCount("DSS"), 0u);
}

}  // namespace
}  // namespace sirelo::testing
