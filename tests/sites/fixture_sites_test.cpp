// The fixture sites as the tests lean on them.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "fixture_sites.h"
#include "net/page_fetch.h"

namespace sirelo::testing {
namespace {

// A lookup racing the growth of the site table shows in the thread-sanitizer build.
TEST(FixtureSites, ASiteCanBeAddedWhileTheOthersAnswer) {
    fixtures::FixtureSites sites(SIRELO_FIXTURES_DIR,
                                 {{"Btrabbit", "GET", "/busy", "", "btrabbit/empty.html"}});
    const std::string busy = sites.baseAddress("Btrabbit") + "/busy";
    std::atomic<bool> adding{true};
    std::thread asking([&] {
        while (adding)
            PageFetch(busy);
    });
    for (int i = 0; i < 20; ++i) {
        sites.addRoute({"Extra" + std::to_string(i), "GET", "/", "", "btrabbit/empty.html"});
    }
    adding = false;
    asking.join();
    EXPECT_EQ(sites.siteNames().size(), fixtures::KnownSites().size() + 20);
}

}  // namespace
}  // namespace sirelo::testing
