// A site the user's file adds is asked and cut like a built-in one.

#include <gtest/gtest.h>

#include "site_test_support.h"
#include "sitedefs/definitions_loader.h"
#include "sitedefs/site_roster.h"
#include "sites/magnet_worker.h"
#include "support/loopback_server.h"

namespace sirelo::testing {
namespace {

using testsupport::LoopbackServer;

TEST(AddedSite, AGbkSiteWithTheLinkInADataAttributeGivesRowsUnderItsLabel) {
    const std::string page = Utf8ToGbk(
        "<tr><td class=\"n\">英雄 2002</td><td data-magnet=\"magnet:?xt=urn:btih:A1\">"
        "<i>1.2 GB</i><b>35</b><u>2020-01-02</u></td></tr>\n"
        "<tr><td class=\"n\">英雄本色</td><td data-magnet=\"magnet:?xt=urn:btih:B2\">"
        "<i>700 MB</i><b>9</b><u>2019-05-06</u></td></tr>\n");
    LoopbackServer site(testsupport::Ok(page));
    const std::string file = "[magnet.Gbk-1]\nlabel = \"国标站\"\nbase = \"" + site.BaseUrl() +
                             "\"\npage = \"/s?q={keyword}&p={page}\"\nencoding = \"gbk\"\n"
                             "name = { start = '<td class=\"n\">', end = \"</td>\" }\n"
                             "link = { start = 'data-magnet=\"', end = '\"' }\n"
                             "size = { start = \"<i>\", end = \"</i>\" }\n"
                             "heat = { start = \"<b>\", end = \"</b>\" }\n"
                             "created = { start = \"<u>\", end = \"</u>\" }\n";
    const LoadedDefinitions loaded =
        ApplyDefinitions(BuiltInSiteDefinitions(), file, "sites.toml", DefinitionsOrigin::User);
    ASSERT_TRUE(loaded.problems.empty()) << DescribeProblem(loaded.problems.front());
    ASSERT_EQ(loaded.definitions.magnet.size(), 5u);

    WorkerHarness harness(loaded.definitions, "英雄");
    MagnetSiteWorker(harness.context, harness.lock, kMagnetSiteCount, 1);
    ASSERT_EQ(site.RequestCount(), 1u);
    EXPECT_EQ(site.Requests()[0].target, "/s?q=%E8%8B%B1%E9%9B%84&p=1");
    const Rows rows = RowsOf(harness.magnetList);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "英雄 2002", "magnet:?xt=urn:btih:A1",
                                                 "国标站", "1.2 GB", "35", "2020-01-02"}));
    EXPECT_EQ(rows[1][kMagnetName], "英雄本色");
    EXPECT_EQ(harness.run.outcomes.snapshot().magnet[kMagnetSiteCount].rowsAdded, 2);
}

}  // namespace
}  // namespace sirelo::testing
