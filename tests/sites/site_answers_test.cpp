// A site that asks us to wait or sends a challenge in place of its page, and
// sites paced by their definitions, as a loopback server sees their requests.

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <mutex>
#include <thread>
#include <vector>

#include "app/outcome_texts.h"
#include "site_test_support.h"
#include "sitedefs/site_roster.h"
#include "sites/magnet_worker.h"
#include "sites/online_worker.h"
#include "support/loopback_server.h"

namespace sirelo::testing {
namespace {

using namespace std::chrono_literals;
using testsupport::HttpResponse;
using testsupport::LoopbackServer;

struct AnswerCase {
    const char* name;
    int status;
    std::vector<std::string> headers;
    std::string body;
    const char* verdict;
    const char* words;  // the tooltip's words for the site, UTF-8
};

const AnswerCase kAnswerCases[] = {
    {"429 asks for seconds",
     429,
     {"Retry-After: 120"},
     "<p>slow down</p>",
     "limited",
     "站点要求稍后再试（约120秒）"},
    {"429 without a time", 429, {}, "<p>slow down</p>", "limited", "站点要求稍后再试"},
    {"503 asks until a past date",
     503,
     {"retry-after:  Wed, 21 Oct 2015 07:28:00 GMT "},
     "",
     "limited",
     "站点要求稍后再试（约0秒）"},
    {"503 without Retry-After is an error", 503, {}, "<p>down</p>", "error", "站点回答 HTTP 503"},
    {"503 with a Retry-After that says nothing",
     503,
     {"Retry-After: soon"},
     "",
     "error",
     "站点回答 HTTP 503"},
    {"cf-mitigated header",
     403,
     {"cf-mitigated: challenge"},
     "<html></html>",
     "challenge",
     "站点要求人机验证，暂时无法搜索"},
    {"403 challenge platform",
     403,
     {},
     R"(<script src="/cdn-cgi/challenge-platform/h/b"></script>)",
     "challenge",
     "站点要求人机验证，暂时无法搜索"},
    {"503 challenge page beats its Retry-After",
     503,
     {"Retry-After: 5"},
     "<title>Just a moment...</title>",
     "challenge",
     "站点要求人机验证，暂时无法搜索"},
    {"a 200 page that names the platform is a page",
     200,
     {},
     "<p>challenge-platform</p>",
     "layout",
     "页面中未找到结果标记，站点可能已改版"},
};

// Every answer, to a magnet site's page and to an online site's search: its
// word, its tooltip words, and no further request to the site in the run.
TEST(SiteAnswersTest, LimitsAndChallengesStopTheSiteAndSayWhy) {
    for (const AnswerCase& answer : kAnswerCases) {
        SCOPED_TRACE(answer.name);
        LoopbackServer server(
            testsupport::Answer(HttpResponse(answer.status, answer.body, answer.headers)));
        WorkerHarness harness(AllSitesAt(server.BaseUrl()), "英雄");

        MagnetSiteWorker(harness.context, harness.lock, kDss, 1);
        MagnetSiteWorker(harness.context, harness.lock, kDss, 2);
        EXPECT_EQ(server.RequestCount(), 1u) << "page 2 is not asked";
        const RunOutcomeSnapshot magnet = harness.run.outcomes.snapshot();
        ASSERT_TRUE(magnet.magnet[kDss].firstFailure);
        EXPECT_STREQ(VerdictWord(Verdict(*magnet.magnet[kDss].firstFailure)), answer.verdict);
        EXPECT_EQ(GbkToUtf8(MagnetOutcomeLine("DSS", magnet.magnet[kDss])),
                  std::string("DSS：") + answer.words);

        OnlineSiteWorker(harness.context, harness.lock, k7dds);
        EXPECT_EQ(server.RequestCount(), 2u) << "no detail page";
        const PageOutcome search = harness.run.outcomes.snapshot().online[k7dds].latest;
        EXPECT_STREQ(VerdictWord(Verdict(search)), answer.verdict);
        EXPECT_EQ(harness.onlineList.RowCount(), 0);
    }
}

// A result page of DSS for every request, answered after `work` on the
// server's own thread; the server logs when each request came and how many
// were open at once.
class PacedSite {
  public:
    explicit PacedSite(std::chrono::milliseconds work = 0ms)
        : page_(HttpResponse(200, FixtureBytes("dss/hero-1.html"))),
          server_([this, work](const testsupport::ReceivedRequest&) {
              {
                  std::lock_guard hold(mutex_);
                  arrivals_.push_back(std::chrono::steady_clock::now());
                  mostOpen_ = std::max(mostOpen_, ++open_);
              }
              std::this_thread::sleep_for(work);
              std::lock_guard hold(mutex_);
              --open_;  // before the answer leaves, so the client cannot be quicker
              return testsupport::Answer(page_);
          }) {}

    std::string base() const { return server_.BaseUrl(); }
    const LoopbackServer& server() const { return server_; }
    std::vector<long> gapsMs() const {
        std::lock_guard hold(mutex_);
        std::vector<long> gaps;
        for (std::size_t i = 1; i < arrivals_.size(); ++i)
            gaps.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 arrivals_[i] - arrivals_[i - 1])
                                                 .count()));
        return gaps;
    }
    int mostOpen() const {
        std::lock_guard hold(mutex_);
        return mostOpen_;
    }

  private:
    std::string page_;
    mutable std::mutex mutex_;
    std::vector<std::chrono::steady_clock::time_point> arrivals_;
    int open_ = 0;
    int mostOpen_ = 0;
    LoopbackServer server_;
};

// Pages 1..`pages` of DSS at once, as the page loop's workers would be.
void AskPagesAtOnce(WorkerHarness& harness, const RunLock& run, int pages) {
    std::vector<std::thread> workers;
    for (int page = 1; page <= pages; ++page)
        workers.emplace_back([&, page] { MagnetSiteWorker(harness.context, run, kDss, page); });
    for (std::thread& worker : workers)
        worker.join();
}

SiteDefinitions WithDssPacing(SitePacing pacing, const std::string& base) {
    SiteDefinitions definitions = AllSitesAt(base);
    definitions.magnet[kDss].pacing = pacing;
    return definitions;
}

TEST(SitePacingTest, DelayMsSpacesTheStartsOfASitesRequests) {
    PacedSite site;
    const SiteDefinitions definitions = WithDssPacing({.delayMs = 400}, site.base());
    WorkerHarness harness(definitions, "英雄");
    AskPagesAtOnce(harness, std::make_shared<RunRecord>(definitions), 4);

    const std::vector<long> gaps = site.gapsMs();
    ASSERT_EQ(gaps.size(), 3u);
    for (long gap : gaps) {
        std::cout << "[pacing] delay_ms=400 gap_ms=" << gap << '\n';
        // Half the delay: the ungated pages come within milliseconds of each other.
        EXPECT_GE(gap, 200);
    }
}

TEST(SitePacingTest, MaxInFlightOneNeverHasTwoRequestsOpen) {
    PacedSite site(150ms);
    const SiteDefinitions definitions = WithDssPacing({.maxInFlight = 1}, site.base());
    WorkerHarness harness(definitions, "英雄");
    AskPagesAtOnce(harness, std::make_shared<RunRecord>(definitions), 4);
    EXPECT_EQ(site.server().RequestCount(), 4u);
    EXPECT_EQ(site.mostOpen(), 1);
}

TEST(SitePacingTest, AStopEndsTheWaitsAndTheirPagesAreNotAsked) {
    PacedSite site;
    const SiteDefinitions definitions = WithDssPacing({.delayMs = 60000}, site.base());
    WorkerHarness harness(definitions, "英雄");
    const auto run = std::make_shared<RunRecord>(definitions);
    std::thread stopper([&] {
        ASSERT_TRUE(site.server().WaitForRequests(1, 30s));
        run->closeGates();
    });
    AskPagesAtOnce(harness, run, 3);
    stopper.join();
    EXPECT_EQ(site.server().RequestCount(), 1u);
    EXPECT_EQ(harness.statusRefreshes, 3) << "the run is still current: every worker refreshes";
}

}  // namespace
}  // namespace sirelo::testing
