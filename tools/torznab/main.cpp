// sirelo-torznab: Sirelo's magnet sites as a Torznab server, for BitTorrent
// clients, media managers and scripts, with the window's configuration.

#include <signal.h>

#include <cstdio>
#include <thread>
#include <vector>

#include "api_key.h"
#include "app/detached_thread.h"
#include "config/app_config.h"
#include "config/network_settings.h"
#include "config/stored_settings.h"
#include "net/http_proxy.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"
#include "torznab_args.h"
#include "torznab_server.h"

namespace {

constexpr const char* kUsage =
    "usage: sirelo-torznab [--bind ADDR] [--port N] [--config-dir DIR]\n"
    "Serves Sirelo's enabled magnet sites as a Torznab indexer at\n"
    "http://ADDR:N/api and /api/v2.0/indexers/<id>/results/torznab/api.\n"
    "  --bind ADDR       the address to listen on (default 127.0.0.1)\n"
    "  --port N          the port (default 9610)\n"
    "  --config-dir DIR  the folder of Configuration.ini and sites.toml\n"
    "                    (default the window's own)\n"
    "Every request carries apikey=, [网络] 接口密钥 of Configuration.ini.\n";

}  // namespace

int main(int argc, char* argv[]) {
    using namespace sirelo;
    torznab::TorznabArgs args;
    try {
        args = torznab::ParseTorznabArgs(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const torznab::UsageError& error) {
        std::fprintf(stderr, "sirelo-torznab: %s\n%s", error.what(), kUsage);
        return 2;
    }
    if (args.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // Before any thread starts, so that the signal thread alone takes them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    static AppConfig config = args.configDir ? AppConfig(*args.configDir) : AppConfig();
    SetHttpProxy(ReadProxySetting(config));
    static const SiteDefinitions definitions = [&] {
        SiteDefinitions read = ProgramSiteDefinitions(config, stderr);
        ApplySiteAddresses(config, read);
        return read;
    }();
    const std::vector<SiteSwitch> switches = SiteSwitchesOf(definitions);
    LiveSettings settings(switches);
    ReadStoredSettings(config, settings, switches);
    const torznab::ApiKey key = torznab::EnsureApiKey(config);
    if (key.key.empty()) {
        std::fprintf(stderr, "sirelo-torznab: no API key: the system's random source failed\n");
        return 1;
    }

    torznab::ServiceOptions service;
    service.definitions = &definitions;
    service.sites = torznab::EnabledMagnetSites(definitions, settings);
    service.pages = settings.pageCount;
    service.exactSearch = settings.exactSearch;
    service.filterLinks = settings.filterLinks;
    service.apiKey = key.key;
    service.startThread = StartDetached;
    static torznab::TorznabService answers(service);

    torznab::ServerOptions serverOptions;
    serverOptions.bind = args.bind;
    serverOptions.port = args.port;
    static torznab::TorznabServer server(answers, serverOptions);
    if (!server.bind()) {
        std::fprintf(stderr, "sirelo-torznab: cannot listen on %s port %d\n", args.bind.c_str(),
                     args.port);
        return 1;
    }
    if (key.made) {
        std::printf("sirelo-torznab: new API key %s%s\n", key.key.c_str(),
                    key.written ? " (kept in Configuration.ini, [网络] 接口密钥)"
                                : "; Configuration.ini could not keep it");
    }
    std::printf("sirelo-torznab: serving %zu sites at http://%s:%d/api\n", service.sites.size(),
                args.bind.c_str(), server.port());
    std::fflush(stdout);

    std::thread([signals] {
        int received = 0;
        sigwait(&signals, &received);
        server.stop();
    }).detach();
    server.run();
    return 0;
}
