#include "e2e_support.h"
#include "sitedefs/program_definitions.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "app/detached_thread.h"
#include "app/run_fakes.h"
#include "app/search_controller.h"
#include "app/site_worker_launcher.h"
#include "fixture_sites.h"
#include "text/codepage.h"

namespace sirelo::e2e {
namespace {

using namespace std::chrono_literals;
using Time = std::chrono::steady_clock;

const std::vector<fixtures::FixtureRoute>& Routes() {
    static const auto* routes = new std::vector<fixtures::FixtureRoute>(
        fixtures::ParseRouteTable(ReadFixture("routes.txt")));
    return *routes;
}

// What the healthy fixture site answers to `request`.
std::string FixtureResponse(const std::string& site, const testsupport::ReceivedRequest& request) {
    for (const fixtures::FixtureRoute& route : Routes()) {
        if (route.site == site && route.method == request.method &&
            route.target == request.target && (route.form.empty() || route.form == request.body)) {
            return testsupport::HttpResponse(200, ReadFixture(route.file),
                                             {"Content-Type: text/html; charset=utf-8"});
        }
    }
    return testsupport::HttpResponse(404, "<h1>404 Not Found</h1>");
}

std::chrono::milliseconds Since(Time::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Time::now() - start);
}

// A number field of /proc/self/status; -1 when it is missing.
long StatusField(std::string_view name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(name) && line.size() > name.size() && line[name.size()] == ':') {
            return std::stol(line.substr(name.size() + 1));
        }
    }
    return -1;
}

}  // namespace

std::string ReadFixture(const std::string& file) {
    std::ifstream in(std::string(SIRELO_FIXTURES_DIR) + "/" + file, std::ios::binary);
    if (!in) throw std::runtime_error("fixture file missing: " + file);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const char* ModeName(HostileMode mode) {
    switch (mode) {
        case HostileMode::NeverAnswers:
            return "NeverAnswers";
        case HostileMode::Resets:
            return "Resets";
        case HostileMode::Trickles:
            return "Trickles";
        case HostileMode::RedirectsForever:
            return "RedirectsForever";
        case HostileMode::SendsGarbage:
            return "SendsGarbage";
        case HostileMode::EndlessBody:
            return "EndlessBody";
    }
    return "?";
}

HttpLimits TestHttpLimits() {
    HttpLimits limits;
    limits.connectTimeoutMs = 3000;
    limits.stallTimeoutMs = 2000;
    limits.lowSpeedBytesPerSecond = 100;  // the trickling site sends about 1000
    limits.maxBodyBytes = 1u << 20;
    limits.maxRedirects = 20;
    return limits;
}

HostileSite::HostileSite(HostileMode mode, std::string site)
    : mode_(mode),
      site_(std::move(site)),
      server_([this](const testsupport::ReceivedRequest& request) { return answer(request); }) {}

testsupport::Reply HostileSite::answer(const testsupport::ReceivedRequest& request) const {
    switch (mode_) {
        case HostileMode::NeverAnswers:
            return testsupport::Silent();
        case HostileMode::Resets:
            return testsupport::Reset();
        case HostileMode::Trickles:
            return testsupport::Trickle(FixtureResponse(site_, request), 1ms);
        case HostileMode::RedirectsForever:
            return testsupport::RedirectLoop();
        case HostileMode::SendsGarbage:
            return testsupport::Garbage(64 * 1024);
        case HostileMode::EndlessBody:
            return testsupport::EndlessBody();
    }
    return testsupport::Reset();
}

LateSite::LateSite(std::string site, std::chrono::milliseconds late)
    : site_(std::move(site)),
      late_(late),
      server_([this](const testsupport::ReceivedRequest& request) {
          testsupport::Reply reply = testsupport::Answer(FixtureResponse(site_, request));
          reply.delay = late_;
          return reply;
      }) {}

SiteDefinitions WithSiteAt(SiteDefinitions sites, std::string_view key, const std::string& base) {
    for (MagnetSite& site : sites.magnet) {
        if (site.id == key) {
            site.base = base;
            return sites;
        }
    }
    for (OnlineSite& site : sites.online) {
        if (site.id == key) {
            site.base = base + (site.base.ends_with('/') ? "/" : "");
            return sites;
        }
    }
    if (key != kBoardAddressKey) throw std::invalid_argument("no such site: " + std::string(key));
    sites.board.base = base;
    return sites;
}

RowsPerSite CountRowsPerSite(const ResultList& magnetList, const ResultList& onlineList) {
    RowsPerSite rows;
    for (int row = 0; row < magnetList.RowCount(); ++row)
        ++rows[GbkToUtf8(magnetList.CellText(row, kMagnetSite))];
    for (int row = 0; row < onlineList.RowCount(); ++row)
        ++rows[GbkToUtf8(onlineList.CellText(row, kOnlineSite))];
    return rows;
}

std::string Describe(const RowsPerSite& rows) {
    std::string text;
    for (const auto& [site, count] : rows) {
        if (!text.empty()) text += ' ';
        text += site + "=" + std::to_string(count);
    }
    return text.empty() ? "none" : text;
}

SearchFigures SearchWithoutWindow(SiteDefinitions sites, const SearchSettings& settings,
                                  std::chrono::milliseconds patience) {
    struct Harness {
        explicit Harness(SiteDefinitions sites)
            : definitions(std::move(sites)),
              controller({view, notifier, box, clock}, definitions, MakeSiteWorkerLauncher) {}
        const SiteDefinitions definitions;
        testing::Journal journal;
        testing::FakeRunView view{journal};
        testing::FakeNotifier notifier{journal};
        testing::FakeSearchBox box;
        SteadyClock clock;
        SearchController controller;
    };
    auto harness = std::make_unique<Harness>(std::move(sites));
    SearchController& controller = harness->controller;
    LiveSettings& live = controller.settings();
    live.pageCount = settings.pages;
    live.intervalMs = settings.intervalMs;
    live.filterLinks = settings.filterLinks;
    live.exactSearch = settings.exactSearch;
    for (auto& site : live.magnetSites)
        site = true;
    for (auto& site : live.onlineSites)
        site = settings.onlineSites;
    harness->box.setText(Utf8ToGbk(settings.keywordUtf8));

    SearchFigures figures;
    const auto start = Time::now();
    controller.startSearch();
    figures.reachedIdle = harness->journal.waitForEntry("搜索 shown", patience);
    figures.toIdle = Since(start);
    figures.threadsEnded = WaitForNoLiveThreads(patience);
    figures.toLastThread = Since(start);
    figures.rows = CountRowsPerSite(controller.magnetList(), controller.onlineList());
    for (int row = 0; row < controller.magnetList().RowCount(); ++row)
        figures.magnetLinks.push_back(controller.magnetList().CellText(row, kMagnetLink));
    figures.magnetRows = controller.magnetList().RowCount();
    figures.onlineRows = controller.onlineList().RowCount();
    figures.filteredLinks = controller.run().filteredLinks;
    figures.filteredItems = controller.run().filteredItems;
    if (!figures.threadsEnded) static_cast<void>(harness.release());
    return figures;
}

long PeakResidentKb() {
    return StatusField("VmHWM");
}

long ThreadsInProcess() {
    return StatusField("Threads");
}

}  // namespace sirelo::e2e
