#pragma once
// The outcome of each site in words, GBK: one line per site for the tooltips
// of the status panes, the settings checkboxes and the board tab.

#include <string>
#include <vector>

#include "board/board_loader.h"
#include "config/live_settings.h"
#include "config/site_addresses.h"
#include "sitedefs/site_definitions.h"
#include "sites/site_outcome.h"

namespace sirelo {

// "Btrabbit：第1–3页 共22条；第4页无结果，停止翻页"; empty when the site was not asked.
std::string MagnetOutcomeLine(const std::string& label, const SiteOutcomes& outcomes);

// "7DDS：3个结果，3个详情页 共10条", or the failure of the search.
std::string OnlineOutcomeLine(const std::string& label, const SiteOutcomes& outcomes);

// "院线热映：10部影片", or the failure of the ranking page.
std::string BoardOutcomeLine(const BoardOutcome& outcome);

// What went wrong with one request, e.g. "未能连接（找不到主机 www.example.org）";
// empty for a success.
std::string FailureWords(const PageOutcome& outcome);

// "DSS：站点地址无效，已用内置地址：http://www.diaosisou.cc", said before every
// outcome line of that site.
std::string RefusedAddressLine(const RefusedAddress& refused);

// The lines that are not empty, one a line.
std::string JoinLines(const std::string& first, const std::string& second);

struct OutcomeTips {
    std::string magnetPane;  // one line per magnet site asked in this run
    std::string onlinePane;
    std::vector<std::string> magnetSites;  // by the site's place; empty: not asked
    std::vector<std::string> onlineSites;
};

// The sites' labels come from `definitions`.
OutcomeTips RunOutcomeTips(const RunOutcomeSnapshot& snapshot, const SiteDefinitions& definitions);

}  // namespace sirelo
