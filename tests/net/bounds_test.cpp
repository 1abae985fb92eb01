// Both routines against servers that misbehave: each call must end, keep what
// arrived and never grow past the cap.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "net/http_request.h"
#include "net/page_fetch.h"
#include "net_test_support.h"
#include "support/loopback_server.h"

namespace sirelo {
namespace {

using namespace std::chrono_literals;
using testsupport::Answer;
using testsupport::LoopbackServer;
using testsupport::Reply;

using Routine = std::function<Bytes(const std::string& url)>;

struct NamedRoutine {
    const char* name;
    Routine fetch;
};

const NamedRoutine kRoutines[] = {
    {"PageFetch", [](const std::string& url) { return PageFetch(url); }},
    {"HttpRequest", [](const std::string& url) { return HttpRequest(url); }},
};

HttpLimits TightLimits() {
    HttpLimits limits;
    limits.connectTimeoutMs = 2000;
    limits.stallTimeoutMs = 300;
    limits.maxBodyBytes = 1u << 20;
    limits.maxRedirects = 5;
    return limits;
}

class BoundsTest : public ::testing::TestWithParam<NamedRoutine> {
  protected:
    Bytes Fetch(const LoopbackServer& server, const std::string& path = "/") {
        return GetParam().fetch(server.BaseUrl() + path);
    }

    ScopedHttpLimits limits{TightLimits()};
};

TEST_P(BoundsTest, AServerClosingMidBodyLeavesThePartialBody) {
    LoopbackServer server(
        Answer("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(100, 'b')));
    EXPECT_EQ(Fetch(server), std::string(100, 'b'));
}

TEST_P(BoundsTest, AServerThatNeverAnswersIsLeftAfterTheStallTimeOut) {
    LoopbackServer server(testsupport::Silent());
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch(server), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST_P(BoundsTest, AStallMidBodyKeepsWhatArrived) {
    LoopbackServer server(testsupport::Silent("HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\n" +
                                              std::string(20, 's')));
    EXPECT_EQ(Fetch(server), std::string(20, 's'));
}

TEST_P(BoundsTest, ASlowButSteadyServerIsReadToTheEnd) {
    std::string body(120, 't');
    LoopbackServer server(testsupport::Trickle(
        "HTTP/1.1 200 OK\r\nContent-Length: 120\r\nConnection: close\r\n\r\n" + body, 3ms));
    EXPECT_EQ(Fetch(server), body);
}

TEST_P(BoundsTest, AnEndlessBodyIsCutAtTheCap) {
    LoopbackServer server(testsupport::EndlessBody());
    Bytes body = Fetch(server);
    EXPECT_EQ(body.size(), 1u << 20);
    EXPECT_EQ(body.find_first_not_of('x'), std::string::npos);
}

TEST_P(BoundsTest, ABodyLargerThanTheCapIsCutThere) {
    LoopbackServer server(testsupport::Ok(std::string((1u << 20) + 10, 'L')));
    EXPECT_EQ(Fetch(server), std::string(1u << 20, 'L'));
}

TEST_P(BoundsTest, ARedirectLoopEndsAtTheBound) {
    LoopbackServer server(testsupport::RedirectLoop());
    Fetch(server, "/loop");
    EXPECT_EQ(server.RequestCount("/loop"), 6u);
}

// A base and a scraped path can together read as a user part ("host@other");
// no credentials the user did not type as such ever go out.
TEST_P(BoundsTest, AnAddressWithAUserPartIsNeverAsked) {
    LoopbackServer server(testsupport::Ok("page"));
    const std::string url = server.BaseUrl();
    EXPECT_EQ(GetParam().fetch("http://user:secret@" + url.substr(url.find("//") + 2) + "/"), "");
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_P(BoundsTest, AResetOrNoiseGivesAnEmptyBody) {
    LoopbackServer reset(testsupport::Reset());
    EXPECT_EQ(Fetch(reset), "");
    LoopbackServer noise(testsupport::Garbage(10000));
    EXPECT_EQ(Fetch(noise), "");
}

INSTANTIATE_TEST_SUITE_P(Routines, BoundsTest, ::testing::ValuesIn(kRoutines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HttpRequestBoundsTest, ASilentServerGivesTheNoResponseHeaderText) {
    ScopedHttpLimits limits(TightLimits());
    LoopbackServer server(testsupport::Silent());
    std::string headers;
    HttpRequest(server.BaseUrl(), 1, "wd=x", std::nullopt, nullptr, {}, &headers);
    EXPECT_EQ(headers, std::string(5000, ' '));
}

TEST(HttpRequestBoundsTest, AStallMidBodyKeepsTheHeaders) {
    ScopedHttpLimits limits(TightLimits());
    LoopbackServer server(testsupport::Silent("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc"));
    std::string headers;
    EXPECT_EQ(HttpRequest(server.BaseUrl(), 0, {}, std::nullopt, nullptr, {}, &headers), "abc");
    EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n");
}

// One transfer holds nearly all the shared budget: a small page still arrives
// whole, a big one is cut where the budget ends, and all is given back.
TEST(BodyBudgetTest, BigBodiesShareTheBudgetWhileSmallPagesArriveWhole) {
    HttpLimits budgetLimits = TightLimits();
    budgetLimits.stallTimeoutMs = 1500;
    budgetLimits.unbudgetedBytes = 64u << 10;
    budgetLimits.budgetBytes = 256u << 10;
    ScopedHttpLimits limits(budgetLimits);
    const std::size_t heldBytes = 300u << 10;
    LoopbackServer holder(testsupport::Silent("HTTP/1.1 200 OK\r\nContent-Length: 900000\r\n\r\n" +
                                              std::string(heldBytes, 'h')));
    FetchResult held;
    std::thread holding([&] { held = PageFetchWithOutcome(holder.BaseUrl()); });
    const std::size_t drawn = heldBytes - budgetLimits.unbudgetedBytes;
    for (int wait = 0; wait < 500 && BudgetedBodyBytes() < drawn; ++wait)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(BudgetedBodyBytes(), drawn);

    LoopbackServer small(testsupport::Ok(std::string(40u << 10, 's')));
    FetchResult smallPage = PageFetchWithOutcome(small.BaseUrl());
    EXPECT_STREQ(OutcomeWord(smallPage.outcome), "ok");
    EXPECT_EQ(smallPage.body.size(), 40u << 10);

    LoopbackServer big(testsupport::Ok(std::string(200u << 10, 'b')));
    FetchResult bigPage = PageFetchWithOutcome(big.BaseUrl());
    EXPECT_STREQ(OutcomeWord(bigPage.outcome), "capped");
    EXPECT_EQ(bigPage.body.size(), budgetLimits.unbudgetedBytes + budgetLimits.budgetBytes - drawn);

    holding.join();
    EXPECT_STREQ(OutcomeWord(held.outcome), "timeout");
    EXPECT_EQ(held.body.size(), heldBytes);
    EXPECT_EQ(BudgetedBodyBytes(), 0u);
}

}  // namespace
}  // namespace sirelo
