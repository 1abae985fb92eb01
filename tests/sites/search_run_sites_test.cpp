// The whole road of a search: the program's search run and worker launcher,
// the real workers, and the fixture sites standing in for the web.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/detached_thread.h"
#include "app/run_fakes.h"
#include "app/search_controller.h"
#include "app/site_worker_launcher.h"
#include "fixture_sites.h"
#include "site_test_support.h"
#include "sitedefs/program_definitions.h"

namespace sirelo::testing {
namespace {

using fixtures::FixtureSites;

class SearchRunWithSitesTest : public ::testing::Test {
  protected:
    SearchRunWithSitesTest() {
        LiveSettings& settings = controller.settings();
        settings.intervalMs = 250;
        settings.threadCount = 2;
        for (auto& site : settings.magnetSites)
            site = true;
    }

    // Runs a search to its end: the dispatcher and every worker it started.
    void search(const std::string& keywordUtf8, int pages) {
        controller.settings().pageCount = pages;
        box.setText(Utf8ToGbk(keywordUtf8));
        controller.startSearch();
        ASSERT_TRUE(WaitForNoLiveThreads(std::chrono::seconds(60)));
    }

    FixtureSites sites{SIRELO_FIXTURES_DIR};
    const SiteDefinitions served = sites.definitions();
    Journal journal;
    FakeRunView view{journal};
    FakeNotifier notifier{journal};
    FakeSearchBox box;
    SteadyClock clock;
    SearchController controller{{view, notifier, box, clock}, served, MakeSiteWorkerLauncher};
};

TEST_F(SearchRunWithSitesTest, FiveBatmanPagesFromFourSites) {
    search("Batman", 5);
    // Btrabbit's page 2 is empty: its later pages are not asked for.
    EXPECT_EQ(sites.requestCount("Btrabbit", "/search/%42%61%74%6D%61%6E/default-1.html"), 1u);
    EXPECT_EQ(sites.requestCount("Btrabbit", "/search/%42%61%74%6D%61%6E/default-2.html"), 1u);
    EXPECT_EQ(sites.requestCount("Btrabbit", "/search/%42%61%74%6D%61%6E/default-4.html"), 0u);
    EXPECT_EQ(sites.requestCount("Btrabbit", "/search/%42%61%74%6D%61%6E/default-5.html"), 0u);
    EXPECT_LE(sites.requestCount("Btrabbit"), 3u);  // page 3 only if it started before page 2 ended
    EXPECT_TRUE(controller.run().siteExhausted[kBtrabbit]);
    // The other sites go on to the last page.
    EXPECT_EQ(sites.requestCount("ZZS"), 5u);
    EXPECT_EQ(sites.requestCount("DSS"), 5u);
    EXPECT_EQ(sites.requestCount("Btbook"), 5u);
    EXPECT_EQ(sites.requestCount("DSS", "/list/%42%61%74%6D%61%6E/5"), 1u);

    const Rows rows = RowsOf(controller.magnetList());
    ASSERT_EQ(rows.size(), 9u);
    std::vector<std::string> ordinals;
    for (int i = 1; i <= 9; ++i)
        ordinals.push_back(std::to_string(i));
    EXPECT_EQ(Column(rows, kMagnetOrdinal), ordinals);
    // The Batman of 2022 is on Btrabbit and Btbook: one row.
    const std::vector<std::string> links = Column(rows, kMagnetLink);
    EXPECT_EQ(std::count(links.begin(), links.end(),
                         "magnet:?xt=urn:btih:3462EA446156045FC7E4D2FC0BD1866E95CCB089"),
              1);
    const std::vector<std::string> names = Column(rows, kMagnetName);
    EXPECT_EQ(std::count(names.begin(), names.end(), "batman.forever.1995.dvdrip"), 0);
    // Duplicates: the 2022 film once, DSS's 蝙蝠侠归来 (a duplicate that lacks the
    // keyword, counted here only), and pages 3 to 5 of three sites repeating page 2.
    EXPECT_EQ(controller.run().filteredLinks, 1 + 1 + 3 * 3);
    // Each of the 22 items served is either a row or counted once.
    EXPECT_EQ(controller.run().filteredLinks + controller.run().filteredItems + 9, 22);
    // batman.forever on Btrabbit and 蝙蝠侠：黑暗骑士 on ZZS.
    EXPECT_EQ(controller.run().filteredItems, 2);
    EXPECT_EQ(controller.onlineList().RowCount(), 0);
}

TEST_F(SearchRunWithSitesTest, ZzsNeverKeepsAKeywordWithASpace) {
    search("The Dark Knight", 1);
    const Rows rows = RowsOf(controller.magnetList());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kMagnetName], "Batman The Dark Knight 2008 IMAX 1080p");
    EXPECT_EQ(rows[0][kMagnetSite], "Btrabbit");
    EXPECT_EQ(sites.requestCount("ZZS"), 1u);
}

TEST_F(SearchRunWithSitesTest, UncheckingKeepNewestShownStopsTheScrollingAtOnce) {
    ScrollLog scrolls;
    scrolls.onScroll = [&](int) { controller.settings().keepNewestShown = false; };
    controller.magnetList().setObserver(&scrolls);
    controller.settings().keepNewestShown = true;
    search("Batman", 5);
    EXPECT_EQ(scrolls.rows(), (std::vector<int>{0}));
    EXPECT_EQ(controller.magnetList().RowCount(), 9);
}

TEST_F(SearchRunWithSitesTest, AFullSearchFillsBothLists) {
    search("英雄", 4);
    EXPECT_EQ(controller.magnetList().RowCount(), 7 + 4 + 4 + 4);
    EXPECT_EQ(controller.run().filteredItems, 1);  // BigFish2003
    for (int site = 0; site < kMagnetSiteCount; ++site) {
        EXPECT_TRUE(controller.run().siteExhausted[site]) << site;
    }
    const Rows online = RowsOf(controller.onlineList());
    ASSERT_EQ(online.size(), 7u + 3u);
    // Both online workers run at once; within a site the rows keep their order.
    std::vector<std::string> sevenDdsInfo;
    for (const auto& row : online) {
        if (row[kOnlineSite] == "7DDS") sevenDdsInfo.push_back(row[kOnlineInfo]);
    }
    EXPECT_EQ(sevenDdsInfo, (std::vector<std::string>{"HD国语版", "HD粤语版", "正片", "第01集",
                                                      "第02集", "第03集", "第04集"}));
    EXPECT_TRUE(journal.waitForEntry("搜索 shown"));
}

}  // namespace
}  // namespace sirelo::testing
