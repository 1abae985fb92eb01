#pragma once
// Shared by the end-to-end tests: a site that misbehaves while the others stay
// healthy, the HTTP bounds the tests run under, a whole search through the
// program's run and workers without a window, and what the process holds.

#include <array>
#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "config/site_addresses.h"
#include "net/http_limits.h"
#include "sitedefs/site_definitions.h"
#include "sites/result_list.h"
#include "support/loopback_server.h"

namespace sirelo::e2e {

enum class HostileMode {
    NeverAnswers,
    Resets,
    Trickles,
    RedirectsForever,
    SendsGarbage,
    EndlessBody
};

inline constexpr std::array<HostileMode, 6> kHostileModes{
    HostileMode::NeverAnswers,     HostileMode::Resets,       HostileMode::Trickles,
    HostileMode::RedirectsForever, HostileMode::SendsGarbage, HostileMode::EndlessBody};

const char* ModeName(HostileMode mode);

// Far below the program's own, so that a dead site costs seconds, and still far
// above what a loopback answer needs on a busy machine.
HttpLimits TestHttpLimits();

// Stands in for one fixture site and misbehaves. A trickling site sends the
// page the fixture site would send, a byte at a time, so its rows do arrive.
class HostileSite {
  public:
    // `site` is a key of [站点地址] ("Btrabbit", "7DDS", ...).
    HostileSite(HostileMode mode, std::string site);

    std::string baseAddress() const { return server_.BaseUrl(); }
    std::size_t requestCount() const { return server_.RequestCount(); }

  private:
    testsupport::Reply answer(const testsupport::ReceivedRequest& request) const;

    HostileMode mode_;
    std::string site_;
    testsupport::LoopbackServer server_;
};

// Answers as the fixture site would, each answer `late` after its request.
class LateSite {
  public:
    LateSite(std::string site, std::chrono::milliseconds late);

    std::string baseAddress() const { return server_.BaseUrl(); }
    std::size_t requestCount() const { return server_.RequestCount(); }

  private:
    std::string site_;
    std::chrono::milliseconds late_;
    testsupport::LoopbackServer server_;
};

// `sites` with the site of that [站点地址] key asked at `base` instead.
SiteDefinitions WithSiteAt(SiteDefinitions sites, std::string_view key, const std::string& base);

// The bytes of a file under tests/fixtures; throws std::runtime_error when it
// cannot be read.
std::string ReadFixture(const std::string& file);

// Rows per 来源站点 cell (UTF-8), over both lists.
using RowsPerSite = std::map<std::string, int>;
RowsPerSite CountRowsPerSite(const ResultList& magnetList, const ResultList& onlineList);
std::string Describe(const RowsPerSite& rows);

struct SearchSettings {
    std::string keywordUtf8 = "英雄";
    int pages = 3;
    int intervalMs = 100;
    // Off, so that a link two sites share counts for both and every site's
    // share of the rows is the same from run to run.
    bool filterLinks = false;
    bool exactSearch = true;
    bool onlineSites = true;
};

struct SearchFigures {
    bool reachedIdle = false;
    bool threadsEnded = false;
    std::chrono::milliseconds toIdle{0};
    std::chrono::milliseconds toLastThread{0};
    RowsPerSite rows;
    std::vector<std::string> magnetLinks;  // GBK, in row order
    int magnetRows = 0;
    int onlineRows = 0;
    int filteredLinks = 0;
    int filteredItems = 0;
};

// One search with every site checked, through the program's search run and
// worker launcher, the views faked. Waits for every thread it started; a run
// whose threads outlive `patience` is reported as such and its state is left
// alive, since workers still use it.
SearchFigures SearchWithoutWindow(SiteDefinitions sites, const SearchSettings& settings,
                                  std::chrono::milliseconds patience = std::chrono::seconds(90));

// From /proc/self/status: the peak resident set (VmHWM) and the thread count.
long PeakResidentKb();
long ThreadsInProcess();

}  // namespace sirelo::e2e
