#pragma once
// The values of the settings controls, as worker threads read them. The
// controls are the truth: every change of a control stores its new value here,
// and a reader sees either the old or the new value.

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

#include "config/site_switch.h"

namespace sirelo {

// One flag per site of a kind, indexed by the site's place. Sized once, before
// any thread starts; only the values change afterwards.
class SiteFlags {
  public:
    explicit SiteFlags(const std::vector<bool>& states);

    std::atomic<bool>& operator[](std::size_t index) { return flags_[index]; }
    const std::atomic<bool>& operator[](std::size_t index) const { return flags_[index]; }
    std::size_t size() const { return size_; }
    std::atomic<bool>* begin() { return flags_.get(); }
    std::atomic<bool>* end() { return flags_.get() + size_; }
    const std::atomic<bool>* begin() const { return flags_.get(); }
    const std::atomic<bool>* end() const { return flags_.get() + size_; }

  private:
    std::unique_ptr<std::atomic<bool>[]> flags_;
    std::size_t size_ = 0;
};

struct LiveSettings {
    // The built-in sites at their form defaults.
    LiveSettings();
    // One flag per switch, at its form default.
    explicit LiveSettings(const std::vector<SiteSwitch>& switches);

    // textToInteger of each numeric box's text.
    std::atomic<int> pageCount{10};    // 搜索页数_编辑框
    std::atomic<int> threadCount{5};   // 线程数量_编辑框
    std::atomic<int> intervalMs{500};  // 搜索间隔_编辑框

    std::atomic<bool> exactSearch{true};        // 精准搜索_选择框
    std::atomic<bool> filterLinks{true};        // 过滤链接_选择框
    std::atomic<bool> keepNewestShown{false};   // 保证显示_选择框
    std::atomic<bool> oneRowPerTorrent{false};  // 种子去重_选择框

    SiteFlags magnetSites;  // by the site's place
    SiteFlags onlineSites;
};

// The live flag of a site's switch.
std::atomic<bool>& SiteFlagOf(LiveSettings& live, const SiteSwitch& site);

}  // namespace sirelo
