#pragma once
// The values of the settings controls, as worker threads read them. The
// controls are the truth: every change of a control stores its new value here,
// and a reader sees either the old or the new value.

#include <array>
#include <atomic>

namespace sirelo {

enum MagnetSiteIndex { kBtrabbit = 0, kZzs = 1, kDss = 2, kBtbook = 3, kMagnetSiteCount = 4 };
enum OnlineSiteIndex { k7dds = 0, kLexiang = 1, kOnlineSiteCount = 2 };

struct LiveSettings {
    // textToInteger of each numeric box's text.
    std::atomic<int> pageCount{10};    // 搜索页数_编辑框
    std::atomic<int> threadCount{5};   // 线程数量_编辑框
    std::atomic<int> intervalMs{500};  // 搜索间隔_编辑框

    std::atomic<bool> exactSearch{true};        // 精准搜索_选择框
    std::atomic<bool> filterLinks{true};        // 过滤链接_选择框
    std::atomic<bool> keepNewestShown{false};   // 保证显示_选择框
    std::atomic<bool> oneRowPerTorrent{false};  // 种子去重_选择框

    // Btrabbit_选择框, ZZS_选择框, DSS_选择框, Btbook_选择框
    std::array<std::atomic<bool>, kMagnetSiteCount> magnetSites{true, false, true, true};
    // 手机看片_选择框 (7DDS), 乐享电影_选择框 (乐享电影网)
    std::array<std::atomic<bool>, kOnlineSiteCount> onlineSites{true, true};
};

}  // namespace sirelo
