#pragma once
// The fixture sites: every site the program reads, played by a loopback server
// of its own that answers with the pages under tests/fixtures as the route
// table there (routes.txt) says, and counts what it was asked.

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/program_definitions.h"
#include "support/loopback_server.h"

namespace sirelo::fixtures {

struct FixtureRoute {
    std::string site;  // a key of [站点地址], UTF-8: "Btrabbit", "7DDS", "乐享电影网", ...
    std::string method;  // "GET", "POST"
    std::string target;  // the request-line target, query included
    std::string form;    // the body a POST must carry; empty: any body
    std::string file;    // relative to the fixtures folder
};

// The keys of [站点地址], in the order the fixture server lists them.
const std::vector<std::string>& KnownSites();

// "%XX" for every byte of the UTF-8 text, the way the program sends a keyword.
std::string EncodeEveryByte(std::string_view utf8);

// Lines "site method target [form] file"; {text} in a target or form stands
// for EncodeEveryByte(text). Blank lines and lines starting with # are skipped;
// a line of the wrong shape throws std::runtime_error naming its number.
std::vector<FixtureRoute> ParseRouteTable(std::string_view text);

class FixtureSites {
  public:
    // Serves the routes of <fixturesDir>/routes.txt.
    explicit FixtureSites(std::string fixturesDir);
    // Starts one server for every known site and every other site of `routes`.
    // Throws std::runtime_error when a route's file cannot be read.
    FixtureSites(std::string fixturesDir, const std::vector<FixtureRoute>& routes);
    ~FixtureSites();
    FixtureSites(const FixtureSites&) = delete;
    FixtureSites& operator=(const FixtureSites&) = delete;

    // Later routes of the same request win. May be called while the sites
    // answer, but not at the same time as the other members.
    void addRoute(const FixtureRoute& route);

    std::vector<std::string> siteNames() const;
    // "http://127.0.0.1:<port>"; empty for a site that is not served.
    std::string baseAddress(std::string_view site) const;
    // `definitions` with every site's base pointing here, each site's by its
    // id (the 7DDS one ending in "/"); empty for a site not served.
    SiteDefinitions definitions(SiteDefinitions definitions = BuiltInSiteDefinitions()) const;
    // [站点地址] of Configuration.ini (UTF-8) as a user would write it, every
    // site of `sites` at its base: how the program is pointed here.
    static std::string addressSection(const SiteDefinitions& sites);

    std::size_t requestCount(std::string_view site) const;
    // Requests whose target is exactly `target`, query included.
    std::size_t requestCount(std::string_view site, std::string_view target) const;
    std::vector<testsupport::ReceivedRequest> requests(std::string_view site) const;
    void clearRequests();

  private:
    struct Site;

    testsupport::Reply answer(const std::string& site,
                              const testsupport::ReceivedRequest& request) const;
    Site* find(std::string_view site) const;
    void serve(const std::string& site);

    std::string fixturesDir_;
    mutable std::mutex routesMutex_;
    std::vector<FixtureRoute> routes_;
    std::map<std::string, std::string> fileBytes_;  // by file name
    std::vector<std::unique_ptr<Site>> sites_;
};

}  // namespace sirelo::fixtures
