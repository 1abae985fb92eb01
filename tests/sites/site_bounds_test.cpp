// A hostile page cannot turn into endless rows or endless detail fetches.

#include <gtest/gtest.h>

#include "site_test_support.h"
#include "sites/magnet_worker.h"
#include "sites/online_worker.h"
#include "sites/site_bounds.h"
#include "support/loopback_server.h"

namespace sirelo::testing {
namespace {

using testsupport::LoopbackServer;

// `count` DSS result items, each with a link of its own.
std::string DssPage(int count) {
    std::string page;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        page += "<div><a href=\"/torrent/" + n + "\">film " + n +
                "</a></div><a href=\"magnet:?xt=" + n +
                "\">[\xE7\xA3\x81\xE5\x8A\x9B\xE9\x93\xBE\xE6\x8E\xA5]</a>\n";
    }
    return page;
}

TEST(SiteBounds, APageGivesAtMostItsItemBoundAndAListAtMostItsRowBound) {
    LoopbackServer site(testsupport::Ok(DssPage(1500)));
    SiteAddresses addresses;
    addresses.magnet[kDss] = site.BaseUrl();
    WorkerHarness harness(addresses, "film");
    MagnetSiteWorker(harness.context, harness.lock, kDss, 1);
    EXPECT_EQ(harness.magnetList.RowCount(), static_cast<int>(kMaxPageItems));
    PageOutcome outcome = harness.run.outcomes.snapshot().magnet[kDss].latest;
    EXPECT_EQ(outcome.itemsCut, 1000);
    EXPECT_EQ(outcome.itemsBeyondBound, 500);

    // A list that is all but full takes what fits and counts the rest.
    harness.settings.filterLinks = false;
    while (harness.magnetList.RowCount() < kMaxListRows - 10)
        harness.magnetList.AppendRow("0");
    MagnetSiteWorker(harness.context, harness.lock, kDss, 2);
    EXPECT_EQ(harness.magnetList.RowCount(), kMaxListRows);
    outcome = harness.run.outcomes.snapshot().magnet[kDss].latest;
    EXPECT_EQ(outcome.rowsAdded, 10);
    EXPECT_EQ(outcome.rowsBeyondBound, 990);
}

TEST(SiteBounds, AResultPageOfEndlessHitsIsFollowedOnlyToItsBound) {
    std::string page;
    for (int i = 0; i < 150; ++i)
        page += "<h3><a href=\"vod/" + std::to_string(i) + ".html\">film</a></h3>\n";
    LoopbackServer site([&page](const testsupport::ReceivedRequest& request) {
        return testsupport::Ok(request.method == "POST" ? page : "<html></html>");
    });
    SiteAddresses addresses;
    addresses.sevenDds = site.BaseUrl() + "/";
    WorkerHarness harness(addresses, "film");
    OnlineSiteWorker(harness.context, harness.lock, k7dds);
    EXPECT_EQ(site.RequestCount(), 1u + kMaxOnlineHits);
    const PageOutcome outcome = harness.run.outcomes.snapshot().online[k7dds].latest;
    EXPECT_EQ(outcome.detailPages, kMaxOnlineHits);
    // The search stops at the hits it follows, so the rest are never counted.
    EXPECT_EQ(outcome.itemsCut, kMaxOnlineHits);
}

}  // namespace
}  // namespace sirelo::testing
