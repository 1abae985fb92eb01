#include <gtest/gtest.h>

#include "fixture_sites.h"
#include "site_test_support.h"
#include "sites/online_worker.h"
#include "support/loopback_server.h"

namespace sirelo::testing {
namespace {

using fixtures::FixtureSites;

class OnlineWorkerTest : public ::testing::Test {
  protected:
    FixtureSites sites{SIRELO_FIXTURES_DIR};
};

TEST_F(OnlineWorkerTest, PostsTheKeywordAsAFormToTheSearchAddress) {
    WorkerHarness harness(sites.definitions(), "英雄");
    OnlineSiteWorker(harness.context, harness.lock, k7dds);
    OnlineSiteWorker(harness.context, harness.lock, kLexiang);
    const auto sevenDds = sites.requests("7DDS");
    ASSERT_FALSE(sevenDds.empty());
    EXPECT_EQ(sevenDds[0].method, "POST");
    EXPECT_EQ(sevenDds[0].target, "/index.php?m=vod-search");
    EXPECT_EQ(sevenDds[0].body, "wd=%E8%8B%B1%E9%9B%84");
    EXPECT_EQ(sevenDds[0].Header("Content-Type"), "application/x-www-form-urlencoded");
    const auto lexiang = sites.requests("乐享电影网");
    ASSERT_FALSE(lexiang.empty());
    EXPECT_EQ(lexiang[0].target, "/index.php?s=vod-search-name");
    EXPECT_EQ(lexiang[0].body, "wd=%E8%8B%B1%E9%9B%84");
}

TEST_F(OnlineWorkerTest, ThreeHitsWithTwoNoneAndFiveItemsGiveSevenRowsInOrder) {
    WorkerHarness harness(sites.definitions(), "英雄");
    OnlineSiteWorker(harness.context, harness.lock, k7dds);
    const Rows rows = RowsOf(harness.onlineList);
    const std::string base = sites.baseAddress("7DDS");
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "英雄", "HD国语版", "7DDS",
                                                 base + "/play/101-0-0.html"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"3", "英雄儿女", "正片", "7DDS",
                                                 base + "/play/103-0-0.html"}));
    EXPECT_EQ(Column(rows, kOnlineOrdinal),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    // Two results on one line are one hit: 少年英雄 (vod/104) is never read.
    EXPECT_EQ(sites.requestCount("7DDS", "/vod/104.html"), 0u);
    EXPECT_EQ(sites.requestCount("7DDS", "/vod/102.html"), 1u);
    EXPECT_EQ(sites.requestCount("7DDS"), 4u);
    EXPECT_EQ(harness.statusRefreshes, 1);
}

TEST_F(OnlineWorkerTest, LexiangGivesNoRowForADetailPageWithoutPlayList) {
    WorkerHarness harness(sites.definitions(), "英雄");
    OnlineSiteWorker(harness.context, harness.lock, kLexiang);
    const Rows rows = RowsOf(harness.onlineList);
    EXPECT_EQ(Column(rows, kOnlineInfo),
              (std::vector<std::string>{"HD国语", "HD粤语", "抢先版 ?"}));
    EXPECT_EQ(Column(rows, kOnlineSite), (std::vector<std::string>(3, "乐享电影网")));
    EXPECT_EQ(sites.requestCount("乐享电影网", "/movie/2346.html"), 1u);
}

TEST_F(OnlineWorkerTest, OnlySevenDdsRowsFollowTheNewestRowSetting) {
    WorkerHarness harness(sites.definitions(), "英雄");
    ScrollLog scrolls;
    harness.onlineList.setObserver(&scrolls);
    harness.settings.keepNewestShown = true;
    OnlineSiteWorker(harness.context, harness.lock, kLexiang);
    EXPECT_TRUE(scrolls.rows().empty());
    OnlineSiteWorker(harness.context, harness.lock, k7dds);
    EXPECT_EQ(scrolls.rows(), (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
}

TEST(OnlineWorker, AFailedSearchGivesNoRowsAndStillRefreshesTheStatusBar) {
    testsupport::LoopbackServer site(testsupport::Reset());
    WorkerHarness harness(AllSitesAt(site.BaseUrl()), "英雄");
    OnlineSiteWorker(harness.context, harness.lock, k7dds);
    OnlineSiteWorker(harness.context, harness.lock, kLexiang);
    EXPECT_EQ(harness.onlineList.RowCount(), 0);
    EXPECT_EQ(harness.statusRefreshes, 2);
    EXPECT_EQ(site.RequestCount(), 2u);
}

}  // namespace
}  // namespace sirelo::testing
