#pragma once
// The online-play sites as data: the search form, how hits are read from the
// answer page, and how a hit's detail page lists its playable items.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/live_settings.h"
#include "config/site_addresses.h"
#include "sites/finishing.h"

namespace sirelo {

struct OnlineSite {
    int index;               // OnlineSiteIndex
    std::string label;       // the 来源站点 cell, GBK
    std::string searchPath;  // joined to the base address as it is
    // When blockStart is set, the items are cut from blockPrefix + the text
    // between blockStart and blockEnd + blockSuffix instead of the whole page.
    std::string blockStart;
    std::string blockEnd;
    std::string blockPrefix;
    std::string blockSuffix;
    std::string itemStart;
    std::string itemEnd;
    FinishSteps info;         // item -> the 数据信息 cell
    FinishSteps addressPath;  // item -> what follows the base in the 网页地址 cell
    bool scrollsNewRows;      // follows 保证显示_选择框
};

// The same for both sites: one hit runs from the first "href=" on a line to
// the last "</a></h3>" on it.
inline constexpr std::string_view kOnlineHitPattern = "href=.*</a></h3>";

struct OnlineHit {
    std::string detailAddress;
    std::string videoName;
};

struct OnlineItem {
    std::string info;
    std::string pageAddress;
};

// Indexed by OnlineSiteIndex.
const std::array<OnlineSite, kOnlineSiteCount>& OnlineSites();

// The site's scheme and host as the addresses give it (7DDS's ends in "/").
const std::string& OnlineBase(const SiteAddresses& addresses, int siteIndex);

// "wd=" and the percent-encoded UTF-8 bytes of the GBK keyword.
std::string OnlineSearchForm(std::string_view keyword);

OnlineHit ReadOnlineHit(std::string_view hit, std::string_view base);

// The playable items of one GBK detail page, in page order.
std::vector<OnlineItem> ReadDetailItems(const OnlineSite& site, std::string_view base,
                                        std::string_view page);

}  // namespace sirelo
