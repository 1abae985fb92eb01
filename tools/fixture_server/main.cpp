// sirelo-fixture-server: the fixture sites on loopback ports, until Ctrl-C.
// Put the section it prints into Configuration.ini and the program searches
// these pages instead of the real sites.

#include <signal.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "fixture_sites.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: sirelo-fixture-server [--fixtures DIR]\n"
                 "Serves the fixture pages of DIR (default %s) as the route table\n"
                 "DIR/routes.txt says, one loopback port per site, until Ctrl-C.\n",
                 SIRELO_FIXTURES_DIR);
    return 2;
}

int WaitForInterrupt() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    int received = 0;
    sigwait(&signals, &received);
    return received;
}

}  // namespace

int main(int argc, char** argv) {
    std::string fixturesDir = SIRELO_FIXTURES_DIR;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--fixtures" && i + 1 < argc) {
            fixturesDir = argv[++i];
        } else {
            return Usage();
        }
    }
    // Blocked before any server thread starts, so that only sigwait sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    try {
        sirelo::fixtures::FixtureSites sites(fixturesDir);
        std::printf(
            "Fixture sites of %s are up. Put this section into Configuration.ini\n"
            "(the file is GBK: save it in that encoding):\n\n[站点地址]\n",
            fixturesDir.c_str());
        for (const std::string& site : sites.siteNames()) {
            std::printf("%s=%s\n", site.c_str(), sites.baseAddress(site).c_str());
        }
        std::printf("\nCtrl-C stops the sites.\n");
        std::fflush(stdout);
        WaitForInterrupt();
        std::printf("\nrequests per site:\n");
        for (const std::string& site : sites.siteNames()) {
            std::printf("  %s: %zu\n", site.c_str(), sites.requestCount(site));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sirelo-fixture-server: %s\n", error.what());
        return 1;
    }
    return 0;
}
