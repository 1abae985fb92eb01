#pragma once
// The server as clients meet it: sirelo-torznab's service and HTTP side on a
// loopback port of its own, over the fixture sites, asked with an HTTP client.

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

#include "app/detached_thread.h"
#include "fixture_sites.h"
#include "sitedefs/program_definitions.h"
#include "torznab_server.h"
#include "torznab_service.h"

namespace sirelo::testing {

inline constexpr const char* kTestKey = "0123456789abcdef0123456789abcdef";

struct Answer {
    int status = 0;  // 0: no answer at all
    std::string body;
};

class ServedFixtures {
  public:
    // Serves the magnet sites that `settings` enables, `pages` pages each.
    explicit ServedFixtures(const LiveSettings& settings, int pages = 5) {
        torznab::ServiceOptions options;
        options.definitions = &definitions;
        options.sites = torznab::EnabledMagnetSites(definitions, settings);
        options.pages = pages;
        options.exactSearch = settings.exactSearch;
        options.filterLinks = settings.filterLinks;
        options.apiKey = kTestKey;
        options.startThread = StartDetached;
        service = std::make_unique<torznab::TorznabService>(options);
        torznab::ServerOptions serverOptions;
        serverOptions.port = 0;
        server = std::make_unique<torznab::TorznabServer>(*service, serverOptions);
        if (server->bind()) serving = std::thread([this] { server->run(); });
    }
    ServedFixtures(const ServedFixtures&) = delete;
    ServedFixtures& operator=(const ServedFixtures&) = delete;
    ~ServedFixtures() {
        server->stop();
        if (serving.joinable()) serving.join();
        WaitForNoLiveThreads(std::chrono::seconds(60));
    }

    // `target` is the path and query, as the request line carries them.
    Answer get(const std::string& target) const {
        httplib::Client client("127.0.0.1", server->port());
        client.set_read_timeout(std::chrono::seconds(60));
        client.set_url_encode(false);  // the target goes out byte for byte
        const httplib::Result result = client.Get(target.c_str());
        if (!result) return {};
        return {result->status, result->body};
    }

    fixtures::FixtureSites sites{SIRELO_FIXTURES_DIR};
    const SiteDefinitions definitions = sites.definitions();  // the built-in sites, here
    std::unique_ptr<torznab::TorznabService> service;
    std::unique_ptr<torznab::TorznabServer> server;
    std::thread serving;
};

}  // namespace sirelo::testing
