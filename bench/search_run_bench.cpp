// A whole search against the fixture sites on loopback: 10 pages of all four
// magnet sites and both online sites, at an interval of 100 ms, through the
// program's search run, launcher and workers.
//
// BM_WholeSearch reports the wall time from the click to the last row as a
// ratio to the designed 10 x 100 ms (wall_vs_design; the online workers only
// start after the last interval, so 1.0 is the floor) and the process CPU time
// per magnet page, the fixture server's share included. The baselines in the
// same run: BM_FetchOnly reads the same 40 pages with PageFetch alone, and
// BM_CutOnly cuts them without any fetch, both per page.
//
// BM_TorznabSearch asks sirelo-torznab's server for the same 40 pages, a new
// server each time so nothing is kept, and reports its CPU time per page as a
// ratio to the window's magnet-only search (sites:2) of the same run;
// BM_TorznabCached asks for the kept answer again and again.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "app/detached_thread.h"
#include "app/run_fakes.h"
#include "app/search_controller.h"
#include "app/site_worker_launcher.h"
#include "fixture_sites.h"
#include "httplib.h"
#include "net/page_fetch.h"
#include "sitedefs/program_definitions.h"
#include "sites/magnet_site.h"
#include "text/codepage.h"
#include "torznab_server.h"
#include "torznab_service.h"

namespace sirelo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPages = 10;
constexpr int kIntervalMs = 100;
const std::string kKeyword = "英雄";

struct SitePath {
    const char* site;
    const char* dir;
    int index;
};
constexpr SitePath kSites[] = {{"Btrabbit", "btrabbit", kBtrabbit},
                               {"ZZS", "zzs", kZzs},
                               {"DSS", "dss", kDss},
                               {"Btbook", "btbook", kBtbook}};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The fixture sites, every magnet site answering all ten pages: the two pages
// of results by turns.
fixtures::FixtureSites& Sites() {
    static auto* sites = [] {
        auto* s = new fixtures::FixtureSites(SIRELO_FIXTURES_DIR);
        for (const SitePath& site : kSites) {
            for (int page = 1; page <= kPages; ++page) {
                const std::string url = MagnetPageUrl(BuiltInSiteDefinitions().magnet[site.index],
                                                      "", Utf8ToGbk(kKeyword), page);
                s->addRoute({site.site, "GET", url, "",
                             std::string(site.dir) + (page % 2 ? "/hero-1.html" : "/hero-2.html")});
            }
        }
        return s;
    }();
    return *sites;
}

// The built-in sites at the fixture servers.
const SiteDefinitions& Served() {
    static const SiteDefinitions served = Sites().definitions();
    return served;
}

struct Page {
    int site;
    std::string url;
};

std::vector<Page> Pages() {
    std::vector<Page> pages;
    for (const SitePath& site : kSites) {
        const MagnetSite& served = Served().magnet[site.index];
        for (int page = 1; page <= kPages; ++page) {
            pages.push_back(
                {site.index, MagnetPageUrl(served, served.base, Utf8ToGbk(kKeyword), page)});
        }
    }
    return pages;
}

// When the last row arrived.
class LastRow : public ResultListObserver {
  public:
    void rowsChanged() override { at = Clock::now().time_since_epoch().count(); }
    void scrollRequested(int) override {}
    std::atomic<Clock::rep> at{0};
};

// The window's CPU time per magnet page with the magnet sites alone, for the server's ratio.
double windowMagnetCpuMsPerPage = 0;

// state.range(0): 1 asks every site, 2 the magnet sites alone, 0 none (the run's own cost).
void BM_WholeSearch(benchmark::State& state) {
    const bool ask = state.range(0) != 0;
    const bool askOnline = state.range(0) == 1;
    double ratioSum = 0, cpuSum = 0;
    int magnetRows = 0, onlineRows = 0;
    for (auto _ : state) {
        testing::Journal journal;
        testing::FakeRunView view(journal);
        testing::FakeNotifier notifier(journal);
        testing::FakeSearchBox box;
        SteadyClock clock;
        SearchController controller({view, notifier, box, clock}, Served(), MakeSiteWorkerLauncher);
        LastRow lastRow;
        controller.magnetList().setObserver(&lastRow);
        controller.onlineList().setObserver(&lastRow);
        LiveSettings& settings = controller.settings();
        settings.pageCount = kPages;
        settings.intervalMs = kIntervalMs;
        for (auto& site : settings.magnetSites)
            site = ask;
        for (auto& site : settings.onlineSites)
            site = askOnline;
        box.setText(Utf8ToGbk(kKeyword));

        const double cpuBefore = CpuSeconds();
        const Clock::time_point click = Clock::now();
        controller.startSearch();
        if (!WaitForNoLiveThreads(std::chrono::seconds(60))) {
            state.SkipWithError("the run did not end");
            return;
        }
        const double cpu = CpuSeconds() - cpuBefore;
        // With no site asked there is no row: the run ends with its dispatcher.
        const Clock::duration end =
            ask ? Clock::duration(lastRow.at.load()) : Clock::now().time_since_epoch();
        const double wall = std::chrono::duration<double>(end - click.time_since_epoch()).count();
        state.SetIterationTime(wall);
        ratioSum += wall / (kPages * kIntervalMs / 1000.0);
        cpuSum += cpu;
        magnetRows = controller.magnetList().RowCount();
        onlineRows = controller.onlineList().RowCount();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["wall_vs_design"] = ratioSum / runs;
    state.counters["cpu_ms_per_page"] = cpuSum / runs / (kPages * 4) * 1000;
    if (ask && !askOnline) windowMagnetCpuMsPerPage = cpuSum / runs / (kPages * 4) * 1000;
    state.counters["magnet_rows"] = magnetRows;
    state.counters["online_rows"] = onlineRows;
}
BENCHMARK(BM_WholeSearch)
    ->ArgName("sites")
    ->Arg(1)
    ->Arg(2)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void BM_FetchOnly(benchmark::State& state) {
    const std::vector<Page> pages = Pages();
    double cpuSum = 0;
    for (auto _ : state) {
        const double before = CpuSeconds();
        for (const Page& page : pages)
            benchmark::DoNotOptimize(PageFetch(page.url));
        cpuSum += CpuSeconds() - before;
    }
    state.counters["cpu_ms_per_page"] =
        cpuSum / static_cast<double>(state.iterations()) / pages.size() * 1000;
}
BENCHMARK(BM_FetchOnly)->Iterations(5)->Unit(benchmark::kMillisecond);

// Conversion and cutting, what a worker does between its fetch and its rows.
void BM_CutOnly(benchmark::State& state) {
    std::vector<std::pair<int, Bytes>> bodies;
    for (const Page& page : Pages())
        bodies.emplace_back(page.site, PageFetch(page.url));
    double cpuSum = 0;
    for (auto _ : state) {
        const double before = CpuSeconds();
        for (const auto& [site, body] : bodies) {
            benchmark::DoNotOptimize(
                CutMagnetPage(BuiltInSiteDefinitions().magnet[site], PageText(body)).results);
        }
        cpuSum += CpuSeconds() - before;
    }
    state.counters["cpu_ms_per_page"] =
        cpuSum / static_cast<double>(state.iterations()) / bodies.size() * 1000;
}
BENCHMARK(BM_CutOnly)->Unit(benchmark::kMillisecond);

// sirelo-torznab's service and server over the fixture sites, every magnet site on.
struct TorznabOverFixtures {
    TorznabOverFixtures() {
        torznab::ServiceOptions options;
        options.definitions = &Served();
        LiveSettings settings;
        for (auto& site : settings.magnetSites)
            site = true;
        options.sites = torznab::EnabledMagnetSites(*options.definitions, settings);
        options.pages = kPages;
        options.apiKey = "bench";
        options.startThread = StartDetached;
        service = std::make_unique<torznab::TorznabService>(options);
        torznab::ServerOptions serverOptions;
        serverOptions.port = 0;
        server = std::make_unique<torznab::TorznabServer>(*service, serverOptions);
        if (server->bind()) serving = std::thread([this] { server->run(); });
    }
    ~TorznabOverFixtures() {
        server->stop();
        if (serving.joinable()) serving.join();
        WaitForNoLiveThreads(std::chrono::seconds(60));
    }
    // The number of items, or -1 when the answer failed.
    int search() const {
        httplib::Client client("127.0.0.1", server->port());
        client.set_url_encode(false);
        const auto result = client.Get("/api?apikey=bench&limit=1000&q=%E8%8B%B1%E9%9B%84");
        if (!result || result->status != 200) return -1;
        int items = 0;
        for (std::size_t at = result->body.find("<item>"); at != std::string::npos;
             at = result->body.find("<item>", at + 1))
            ++items;
        return items;
    }
    std::unique_ptr<torznab::TorznabService> service;
    std::unique_ptr<torznab::TorznabServer> server;
    std::thread serving;
};

void BM_TorznabSearch(benchmark::State& state) {
    double cpuSum = 0;
    int items = 0;
    for (auto _ : state) {
        TorznabOverFixtures torznab;
        const double before = CpuSeconds();
        items = torznab.search();
        cpuSum += CpuSeconds() - before;
        if (items < 0) {
            state.SkipWithError("the server gave no feed");
            return;
        }
    }
    const double perPage = cpuSum / static_cast<double>(state.iterations()) / (kPages * 4) * 1000;
    state.counters["cpu_ms_per_page"] = perPage;
    if (windowMagnetCpuMsPerPage > 0)
        state.counters["cpu_vs_window"] = perPage / windowMagnetCpuMsPerPage;
    state.counters["items"] = items;
}
BENCHMARK(BM_TorznabSearch)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_TorznabCached(benchmark::State& state) {
    TorznabOverFixtures torznab;
    torznab.search();
    for (auto _ : state)
        benchmark::DoNotOptimize(torznab.search());
}
BENCHMARK(BM_TorznabCached)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sirelo

BENCHMARK_MAIN();
