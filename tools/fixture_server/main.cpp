// sirelo-fixture-server: the fixture sites on loopback ports, until Ctrl-C.
// Put the section it prints into Configuration.ini (or let --write-config do
// it) and the program searches these pages instead of the real sites.

#include <signal.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "config/app_config.h"
#include "fixture_sites.h"
#include "text/codepage.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: sirelo-fixture-server [--fixtures DIR] [--write-config]\n"
                 "Serves the fixture pages of DIR (default %s) as the route table\n"
                 "DIR/routes.txt says, one loopback port per site, until Ctrl-C.\n"
                 "--write-config also points [站点地址] of the user's Configuration.ini\n"
                 "at these sites, so that a Sirelo started now searches them.\n",
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

void WriteSiteSection(const sirelo::fixtures::FixtureSites& sites) {
    sirelo::AppConfig& config = sirelo::TheAppConfig();
    bool written = true;
    for (const std::string& site : sites.siteNames()) {
        written = config.writeSetting(sirelo::Gbk("站点地址"), sirelo::Gbk(site),
                                      sites.baseAddress(site)) &&
                  written;
    }
    std::printf("\n%s %s\n", written ? "Written to" : "Could not write all of",
                config.configFilePath().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string fixturesDir = SIRELO_FIXTURES_DIR;
    bool writeConfig = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--fixtures" && i + 1 < argc) {
            fixturesDir = argv[++i];
        } else if (arg == "--write-config") {
            writeConfig = true;
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
        if (writeConfig) WriteSiteSection(sites);
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
