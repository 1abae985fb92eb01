// A long search: 100 pages from each of the four magnet sites, one page every
// 100 ms. Every page carries links of its own, so every row must arrive exactly
// once; memory stays bounded and no thread outlives the run. The same search
// against four magnet sites that answer every page with 60 MB, slowly, under
// the program's own bounds: memory stays bounded, every worker ends and the
// healthy online sites still deliver. The figures go on lines starting
// "[load]" and "[hostile-load]".

#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/detached_thread.h"
#include "e2e_support.h"
#include "fixture_sites.h"
#include "net/http_limits.h"
#include "net/net_test_support.h"
#include "sitedefs/program_definitions.h"
#include "sites/magnet_site.h"
#include "text/codepage.h"

namespace sirelo::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kPages = 100;
constexpr const char* kKeyword = "英雄";
// Far above what the run needs (a few megabytes), far below a leak of every page.
constexpr long kPeakGrowthBoundKb = 256 * 1024;

// Pages whose every item has a link of its own, one per magnet site.
const char* const kTemplates[] = {"btrabbit/batman-1.html", "zzs/hero-1.html", "dss/hero-1.html",
                                  "btbook/batman-1.html"};

// The site's first result page with every info hash made unique to this site,
// page and item, so that no two pages share a link.
std::string PageOf(const std::string& templatePage, int site, int page) {
    constexpr std::size_t kHashLength = 40;
    const auto isHashAt = [&](std::size_t at) {
        if (at + kHashLength > templatePage.size()) return false;
        return std::all_of(templatePage.begin() + static_cast<std::ptrdiff_t>(at),
                           templatePage.begin() + static_cast<std::ptrdiff_t>(at + kHashLength),
                           [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
    };
    std::map<std::string, std::string> renamed;
    std::string out;
    for (std::size_t at = 0; at < templatePage.size();) {
        if (!isHashAt(at)) {
            out += templatePage[at++];
            continue;
        }
        const std::string old = templatePage.substr(at, kHashLength);
        if (!renamed.count(old)) {
            char prefix[16];
            std::snprintf(prefix, sizeof prefix, "%02X%04X%04X", site, page,
                          static_cast<unsigned>(renamed.size()));
            renamed[old] = prefix + std::string(kHashLength - 10, 'E');
        }
        out += renamed[old];
        at += kHashLength;
    }
    return out;
}

class LoadTest : public ::testing::Test {
  protected:
    LoadTest() {
        char pattern[] = "/tmp/sirelo-load-XXXXXX";
        folder_ = ::mkdtemp(pattern);
    }
    ~LoadTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Writes the pages and their routes; the links they carry go to `expected`.
    std::vector<fixtures::FixtureRoute> writePages(std::map<std::string, int>& expected) {
        std::vector<fixtures::FixtureRoute> routes;
        for (int site = 0; site < kMagnetSiteCount; ++site) {
            const MagnetSite& descriptor = BuiltInSiteDefinitions().magnet[site];
            const std::string templatePage = ReadFixture(kTemplates[site]);
            std::filesystem::create_directories(folder_ + "/" + descriptor.label);
            for (int page = 1; page <= kPages; ++page) {
                const std::string file = descriptor.label + "/" + std::to_string(page) + ".html";
                const std::string bytes = PageOf(templatePage, site, page);
                std::ofstream(folder_ + "/" + file, std::ios::binary) << bytes;
                routes.push_back({descriptor.label, "GET", target(site, page), "", file});
                for (const MagnetResult& item : CutMagnetPage(descriptor, PageText(bytes)).results)
                    ++expected[item.magnetLink];
            }
        }
        return routes;
    }

    static std::string target(int site, int page) {
        return MagnetPageUrl(BuiltInSiteDefinitions().magnet[site], "", Utf8ToGbk(kKeyword), page);
    }

    std::string folder_;
};

TEST_F(LoadTest, EveryRowOfAHundredPagesFromFourSitesArrivesOnce) {
    ScopedHttpLimits limits{TestHttpLimits()};
    std::map<std::string, int> expected;  // link -> times served
    fixtures::FixtureSites sites(folder_, writePages(expected));
    int expectedRows = 0;
    for (const auto& [link, times] : expected) {
        ASSERT_FALSE(link.empty());
        ASSERT_EQ(times, 1) << link;
        ++expectedRows;
    }
    ASSERT_GE(expectedRows, kPages * kMagnetSiteCount);

    ASSERT_EQ(LiveThreadCount(), 0);
    const long threadsBefore = ThreadsInProcess();
    const long peakBeforeKb = PeakResidentKb();
    SearchSettings settings;
    settings.keywordUtf8 = kKeyword;
    settings.pages = kPages;
    settings.intervalMs = 100;
    settings.filterLinks = true;
    settings.exactSearch = false;  // every item counts, whatever its name
    settings.onlineSites = false;
    const SearchFigures figures =
        SearchWithoutWindow(sites.definitions(), settings, std::chrono::seconds(300));
    const long peakAfterKb = PeakResidentKb();
    ASSERT_TRUE(figures.reachedIdle);
    ASSERT_TRUE(figures.threadsEnded);
    std::this_thread::sleep_for(3s);
    const int countedAfter = LiveThreadCount();
    const long threadsAfter = ThreadsInProcess();

    std::map<std::string, int> received;
    for (const std::string& link : figures.magnetLinks)
        ++received[link];
    int duplicates = 0;
    int strangers = 0;
    for (const auto& [link, times] : received) {
        duplicates += times - 1;
        if (!expected.count(link)) ++strangers;
    }
    std::cout << "[load] pages=" << kPages << " sites=" << kMagnetSiteCount
              << " interval_ms=" << settings.intervalMs << " rows_expected=" << expectedRows
              << " rows_received=" << figures.magnetRows << " distinct_received=" << received.size()
              << " duplicates=" << duplicates << " idle_ms=" << figures.toIdle.count()
              << " last_thread_ms=" << figures.toLastThread.count()
              << " peak_rss_before_kb=" << peakBeforeKb << " peak_rss_after_kb=" << peakAfterKb
              << " threads_before=" << threadsBefore << " threads_after=" << threadsAfter
              << " counted_threads_after=" << countedAfter << std::endl;
    RecordProperty("rows_expected", expectedRows);
    RecordProperty("rows_received", figures.magnetRows);
    RecordProperty("peak_rss_growth_kb", std::to_string(peakAfterKb - peakBeforeKb));

    EXPECT_EQ(figures.magnetRows, expectedRows);
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(strangers, 0);
    EXPECT_EQ(figures.filteredLinks, 0);
    for (int site = 0; site < kMagnetSiteCount; ++site) {
        const std::string& label = BuiltInSiteDefinitions().magnet[site].label;
        EXPECT_EQ(sites.requestCount(label), static_cast<std::size_t>(kPages)) << label;
        for (int page = 1; page <= kPages; ++page)
            EXPECT_EQ(sites.requestCount(label, target(site, page)), 1u) << label << " " << page;
    }
    EXPECT_LT(peakAfterKb - peakBeforeKb, kPeakGrowthBoundKb);
    EXPECT_EQ(countedAfter, 0);
    EXPECT_LE(threadsAfter, threadsBefore);
}

TEST(HostileLoadTest, FourSitesSendingSixtyMegabytesSlowlyCannotExhaustMemory) {
    constexpr std::size_t kBodyBytes = 60u << 20;
    // The bound is for the program as users run it. The sanitizers' shadow
    // memory (and AddressSanitizer's quarantine of freed blocks) multiply
    // every byte held.
#if defined(__SANITIZE_THREAD__)
    constexpr long kPeakBoundKb = 4L * 1024 * 1024;
#elif defined(__SANITIZE_ADDRESS__)
    constexpr long kPeakBoundKb = 1024 * 1024;
#else
    constexpr long kPeakBoundKb = 512 * 1024;
#endif
    fixtures::FixtureSites sites{SIRELO_FIXTURES_DIR};
    SearchSettings settings;
    settings.pages = 1;
    const int healthyOnlineRows = [&] {
        ScopedHttpLimits limits{TestHttpLimits()};
        return SearchWithoutWindow(sites.definitions(), settings).onlineRows;
    }();
    ASSERT_GT(healthyOnlineRows, 0);

    // Each page starts as a real result page, so no site is ever taken as
    // exhausted and every page is asked for.
    std::vector<std::unique_ptr<testsupport::LoopbackServer>> hostile;
    SiteDefinitions hostileSites = sites.definitions();
    for (int site = 0; site < kMagnetSiteCount; ++site) {
        hostile.push_back(std::make_unique<testsupport::LoopbackServer>(
            testsupport::SlowBody(ReadFixture(kTemplates[site]), kBodyBytes, 64u << 10, 100ms)));
        hostileSites.magnet[site].base = hostile.back()->BaseUrl();
    }
    settings.pages = kPages;
    settings.intervalMs = 100;
    const HttpLimits bounds = CurrentHttpLimits();  // the program's own
    const auto patience =
        std::chrono::milliseconds(kPages * settings.intervalMs + 2 * bounds.deadlineMs);
    ASSERT_EQ(LiveThreadCount(), 0);
    const long threadsBefore = ThreadsInProcess();
    long threadsPeak = threadsBefore;
    std::atomic<bool> watching{true};
    std::thread watcher([&] {
        while (watching) {
            threadsPeak = std::max(threadsPeak, ThreadsInProcess());
            std::this_thread::sleep_for(50ms);
        }
    });
    const SearchFigures figures = SearchWithoutWindow(hostileSites, settings, patience);
    watching = false;
    watcher.join();
    const long peakKb = PeakResidentKb();
    std::size_t requests = 0;
    for (const auto& server : hostile)
        requests += server->RequestCount();
    std::cout << "[hostile-load] pages=" << kPages << " sites=" << kMagnetSiteCount
              << " body_bytes=" << kBodyBytes << " requests=" << requests
              << " idle_ms=" << figures.toIdle.count()
              << " last_thread_ms=" << figures.toLastThread.count() << " peak_rss_kb=" << peakKb
              << " threads_before=" << threadsBefore << " threads_peak=" << threadsPeak
              << " online_rows=" << figures.onlineRows << "/" << healthyOnlineRows
              << " magnet_rows=" << figures.magnetRows << std::endl;
    RecordProperty("peak_rss_kb", std::to_string(peakKb));
    RecordProperty("last_thread_ms", std::to_string(figures.toLastThread.count()));

    ASSERT_TRUE(figures.reachedIdle);
    ASSERT_TRUE(figures.threadsEnded);
    EXPECT_EQ(requests, static_cast<std::size_t>(kPages * kMagnetSiteCount));
    EXPECT_EQ(figures.onlineRows, healthyOnlineRows);
    EXPECT_LT(peakKb, kPeakBoundKb);
}

}  // namespace
}  // namespace sirelo::e2e
