#pragma once
// The state that every worker of a search run shares with the run. One record
// for the whole program; the run resets it at the start of each search.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "config/live_settings.h"
#include "sites/site_outcome.h"

namespace sirelo {

class SearchRun {
  public:
    std::string keyword() const;
    void setKeyword(std::string keyword);

    std::atomic<std::uint32_t> startTick{0};
    std::atomic<int> pageCounter{0};
    std::atomic<int> filteredLinks{0};  // dropped as duplicate links (过滤链接)
    std::atomic<int> filteredItems{0};  // dropped for lacking the keyword (精准搜索)
    std::array<std::atomic<bool>, kMaxMagnetSites> siteExhausted{};  // by the site's place
    RunOutcomes outcomes;  // what each request gave, for the tooltips

  private:
    mutable std::mutex keywordMutex_;
    std::string keyword_;
};

}  // namespace sirelo
