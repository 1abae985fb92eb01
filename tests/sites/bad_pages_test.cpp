// Pages a hostile or broken site may send. None may crash or hang a worker;
// they give fewer rows at most, and a page without names marks its site.

#include <gtest/gtest.h>

#include <atomic>

#include "site_test_support.h"
#include "sitedefs/program_definitions.h"
#include "sites/magnet_worker.h"
#include "sites/online_worker.h"
#include "support/loopback_server.h"

namespace sirelo::testing {
namespace {

using testsupport::LoopbackServer;
using testsupport::Reply;

struct BadPage {
    std::string name;
    Reply reply;
    bool hasNames;  // whether a magnet page cut from it still has items
};

std::string NotFoundPage() {
    return testsupport::HttpResponse(
        404,
        "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>");
}

// Every 97th byte of the page made invalid UTF-8.
std::string SpoilUtf8(std::string page) {
    for (std::size_t i = 0; i < page.size(); i += 97)
        page[i] = '\xFF';
    return page;
}

// A page that is mostly 20 MB of Chinese filler after its results; the body
// cap cuts it long before its end.
std::string HugePage(const std::string& page) {
    std::string filler;
    filler.reserve(20u << 20);
    while (filler.size() < (20u << 20))
        filler += "英雄本色，风云再起。";
    return page + "<p>" + filler + "</p>";
}

// One line of 1 MB: start markers of every field without an end, and hrefs
// for the hit pattern to chew on.
std::string LongLine() {
    std::string line;
    while (line.size() < (1u << 20))
        line += "<a title=\"x /info x /torrent x href=\"magnet ";
    return line;
}

std::vector<BadPage> BadPages(const std::string& magnetPage) {
    return {
        {"empty body", testsupport::Ok(""), false},
        {"404 page", testsupport::Answer(NotFoundPage()), false},
        {"binary body", testsupport::Ok(testsupport::BinaryNoise(256 << 10)), false},
        {"noise instead of HTTP", testsupport::Garbage(64 << 10), false},
        {"reset", testsupport::Reset(), false},
        {"invalid UTF-8", testsupport::Ok(SpoilUtf8(magnetPage)), true},
        {"zero byte early", testsupport::Ok("<html>" + std::string(1, '\0') + magnetPage), false},
        {"20 MB page", testsupport::Ok(HugePage(magnetPage)), true},
        {"1 MB single line", testsupport::Ok(LongLine()), false},
    };
}

TEST(BadPages, MagnetWorkersSurviveThemAndMarkSitesWithoutNames) {
    const std::vector<std::pair<int, std::string>> pages = {{kBtrabbit, "btrabbit/hero-1.html"},
                                                            {kZzs, "zzs/hero-1.html"},
                                                            {kDss, "dss/hero-1.html"},
                                                            {kBtbook, "btbook/hero-1.html"}};
    for (const auto& [site, file] : pages) {
        const std::size_t cleanItems =
            CutMagnetPage(BuiltInSiteDefinitions().magnet[site], FixturePage(file)).results.size();
        for (const BadPage& bad : BadPages(FixtureBytes(file))) {
            SCOPED_TRACE(bad.name + " from " + file);
            LoopbackServer server(bad.reply);
            WorkerHarness harness(AllSitesAt(server.BaseUrl()), "英雄");
            harness.settings.exactSearch = false;
            MagnetSiteWorker(harness.context, harness.lock, site, 1);
            EXPECT_EQ(harness.statusRefreshes, 1);
            EXPECT_EQ(harness.run.siteExhausted[site].load(), !bad.hasNames);
            EXPECT_LE(static_cast<std::size_t>(harness.magnetList.RowCount()), cleanItems);
        }
    }
}

TEST(BadPages, OnlineWorkersSurviveThemAsSearchOrDetailPages) {
    const std::vector<std::pair<int, std::string>> searchPages = {
        {k7dds, "7dds/search-hero.html"}, {kLexiang, "lexiang/search-hero.html"}};
    for (const auto& [site, file] : searchPages) {
        const std::string searchPage = FixtureBytes(file);
        for (const BadPage& bad : BadPages(FixtureBytes("lexiang/movie-2345.html"))) {
            SCOPED_TRACE(bad.name + " for " + file);
            // As the answer to the search post.
            LoopbackServer searchSite(bad.reply);
            // As the first hit's detail page behind a good answer; the others are missing.
            std::atomic<int> detailPages{0};
            LoopbackServer detailSite([&](const testsupport::ReceivedRequest& request) {
                if (request.method == "POST") return testsupport::Ok(searchPage);
                return ++detailPages == 1 ? bad.reply : testsupport::Answer(NotFoundPage());
            });
            for (LoopbackServer* server : {&searchSite, &detailSite}) {
                WorkerHarness harness(AllSitesAt(server->BaseUrl()), "英雄");
                OnlineSiteWorker(harness.context, harness.lock, site);
                EXPECT_EQ(harness.statusRefreshes, 1);
                // The good detail page lists three items.
                EXPECT_LE(harness.onlineList.RowCount(), 3);
            }
            EXPECT_EQ(searchSite.RequestCount(), 1u);
        }
    }
}

}  // namespace
}  // namespace sirelo::testing
