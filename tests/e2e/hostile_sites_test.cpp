// Whole searches while one site misbehaves and the others stay healthy: every
// run returns to Idle, the healthy sites' rows all arrive and every thread
// ends. Each case prints its figures on a line starting "[hostile]".

#include <gtest/gtest.h>

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "fixture_sites.h"
#include "net/net_test_support.h"
#include "support/loopback_proxy.h"

namespace sirelo::e2e {
namespace {

struct HostileCase {
    HostileMode mode;
    const char* site;  // a key of [站点地址]
};

void PrintTo(const HostileCase& param, std::ostream* out) {
    *out << param.site << " " << ModeName(param.mode);
}

std::vector<HostileCase> AllCases() {
    std::vector<HostileCase> cases;
    for (const char* site : {"Btrabbit", "7DDS"}) {
        for (HostileMode mode : kHostileModes)
            cases.push_back({mode, site});
    }
    return cases;
}

void Print(const std::string& site, const char* mode, const SearchFigures& figures) {
    std::cout << "[hostile] site=" << site << " mode=" << mode
              << " idle_ms=" << figures.toIdle.count()
              << " last_thread_ms=" << figures.toLastThread.count()
              << " rows=" << Describe(figures.rows) << std::endl;
}

// The rows of a healthy search, once per test program.
const SearchFigures& Healthy() {
    static const SearchFigures figures = [] {
        ScopedHttpLimits limits{TestHttpLimits()};
        fixtures::FixtureSites sites{SIRELO_FIXTURES_DIR};
        SearchFigures healthy = SearchWithoutWindow(sites.definitions(), SearchSettings{});
        Print("none", "Healthy", healthy);
        return healthy;
    }();
    return figures;
}

class HostileSitesTest : public ::testing::TestWithParam<HostileCase> {
  protected:
    ScopedHttpLimits limits{TestHttpLimits()};
    fixtures::FixtureSites sites{SIRELO_FIXTURES_DIR};
};

TEST(HealthySitesTest, EverySiteDeliversItsRows) {
    const SearchFigures& healthy = Healthy();
    ASSERT_TRUE(healthy.reachedIdle);
    ASSERT_TRUE(healthy.threadsEnded);
    for (const std::string& site : fixtures::KnownSites()) {
        if (site != "院线热映") {
            EXPECT_GT(healthy.rows.count(site), 0u) << site;
        }
    }
}

TEST_P(HostileSitesTest, TheRunEndsAndTheHealthySitesDeliver) {
    const RowsPerSite& expected = Healthy().rows;
    const HostileCase param = GetParam();
    HostileSite hostile(param.mode, param.site);
    const SearchFigures figures = SearchWithoutWindow(
        WithSiteAt(sites.definitions(), param.site, hostile.baseAddress()), SearchSettings{});
    Print(param.site, ModeName(param.mode), figures);
    RecordProperty("idle_ms", std::to_string(figures.toIdle.count()));
    RecordProperty("last_thread_ms", std::to_string(figures.toLastThread.count()));
    RecordProperty("rows", Describe(figures.rows));

    ASSERT_TRUE(figures.reachedIdle);
    ASSERT_TRUE(figures.threadsEnded);
    EXPECT_GT(hostile.requestCount(), 0u);
    EXPECT_EQ(sites.requestCount(param.site), 0u);
    for (const auto& [site, rows] : expected) {
        if (site == param.site) continue;
        EXPECT_EQ(figures.rows.count(site) ? figures.rows.at(site) : 0, rows) << site;
    }
    // A slow site is still read to its end; the others give nothing.
    const int hostileRows = figures.rows.count(param.site) ? figures.rows.at(param.site) : 0;
    EXPECT_EQ(hostileRows, param.mode == HostileMode::Trickles ? expected.at(param.site) : 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, HostileSitesTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                             return std::string(info.param.site) + "_" + ModeName(info.param.mode);
                         });

class ProxiedSearchTest : public ::testing::TestWithParam<testsupport::ProxyKind> {};

TEST_P(ProxiedSearchTest, EveryRequestGoesThroughTheProxyForTheSameRows) {
    const RowsPerSite& expected = Healthy().rows;
    ScopedHttpLimits limits{TestHttpLimits()};
    fixtures::FixtureSites sites{SIRELO_FIXTURES_DIR};
    testsupport::LoopbackProxy proxy(GetParam());
    SearchFigures figures;
    {
        ScopedHttpProxy configured(proxy.Url());
        figures = SearchWithoutWindow(sites.definitions(), SearchSettings{});
    }
    ASSERT_TRUE(figures.threadsEnded);
    EXPECT_EQ(figures.rows, expected);
    std::size_t requests = 0;
    for (const std::string& site : fixtures::KnownSites())
        requests += sites.requestCount(site);
    EXPECT_GT(requests, 0u);
    EXPECT_EQ(proxy.Log().size(), requests);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProxiedSearchTest,
                         ::testing::Values(testsupport::ProxyKind::Http,
                                           testsupport::ProxyKind::Socks5),
                         [](const auto& info) {
                             return info.param == testsupport::ProxyKind::Http ? "Http" : "Socks5";
                         });

}  // namespace
}  // namespace sirelo::e2e
