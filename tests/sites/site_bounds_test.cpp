// A hostile page cannot turn into endless rows or endless detail fetches.

#include <gtest/gtest.h>

#include "board/board_page.h"
#include "site_test_support.h"
#include "sites/magnet_site.h"
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
    WorkerHarness harness(AllSitesAt(site.BaseUrl()), "film");
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
    WorkerHarness harness(AllSitesAt(site.BaseUrl()), "film");
    OnlineSiteWorker(harness.context, harness.lock, k7dds);
    EXPECT_EQ(site.RequestCount(), 1u + kMaxOnlineHits);
    const PageOutcome outcome = harness.run.outcomes.snapshot().online[k7dds].latest;
    EXPECT_EQ(outcome.detailPages, kMaxOnlineHits);
    // The search stops at the hits it follows, so the rest are never counted.
    EXPECT_EQ(outcome.itemsCut, kMaxOnlineHits);
}

// Whatever a definition says, cutting a page stays within its budget: pieces
// stop growing at their bound, the page's finished text and finishing work are
// bounded, and pattern searches stop when the page's steps are spent.
TEST(SiteBounds, CuttingAPageStaysWithinItsBudgetWhateverTheDefinitionSays) {
    const std::string bigA(4u << 20, 'a');
    const FinishStep thousandfold{FinishKind::ReplacePairs, {"a", std::string(1000, 'a')}};
    const FinishStep prefix{FinishKind::Prefix, {std::string(100'000, 'p')}};
    std::string thousandItems;
    for (int i = 0; i < 1000; ++i)
        thousandItems += "<n>x</n>";
    const struct {
        const char* name;
        std::string page;
        FinishSteps steps;
        std::size_t items;
        std::size_t rows;
        std::size_t pieceBytes;
    } cases[] = {
        {"one step grows a piece a thousandfold",
         "<n>" + bigA + "</n>",
         {thousandfold},
         1,
         1,
         kFinishedPieceLimit},
        {"chained steps",
         "<n>" + bigA + "</n>",
         {thousandfold, thousandfold, thousandfold},
         1,
         1,
         kFinishedPieceLimit},
        {"prefixes over many items", thousandItems, FinishSteps(9, prefix), 1000,
         kPageFinishedText / kFinishedPieceLimit, kFinishedPieceLimit},
        {"more steps than the work allows", "<n>" + std::string(1u << 20, 'b') + "</n>",
         FinishSteps(1000, {FinishKind::Trim, {}}), 1, 0, 0},
    };
    for (const auto& c : cases) {
        MagnetSite site = BuiltInSiteDefinitions().magnet[kDss];
        for (FieldRule& field : site.fields)
            field = {"<q>", "</q>", {}};
        site.fields[kFieldName] = {"<n>", "</n>", c.steps};
        const MagnetPageCut cut = CutMagnetPage(site, c.page);
        EXPECT_EQ(cut.results.size(), c.rows) << c.name;
        EXPECT_EQ(cut.results.size() + cut.itemsLeftOut, c.items) << c.name;
        if (!cut.results.empty()) {
            EXPECT_EQ(cut.results[0].name.size(), c.pieceBytes) << c.name;
        }
    }

    // Nested quantifiers over a page of near misses: the search stops early.
    BoardDefinition board = BuiltInSiteDefinitions().board;
    board.name.pattern = "x(?:(a+)+y|)";
    std::string nearMisses;
    while (nearMisses.size() < 380'000)
        nearMisses += "x" + std::string(24, 'a');
    PageBudget budget;
    ParseBoardPage(board, nearMisses, 10, &budget);
    EXPECT_TRUE(budget.matchesCut);
}

}  // namespace
}  // namespace sirelo::testing
