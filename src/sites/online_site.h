#pragma once
// What an online-play site's definition (sitedefs/site_definitions.h) gives:
// the search form, the hits of the answer page, and the playable items of a
// hit's detail page.

#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/site_definitions.h"
#include "text/page_budget.h"

namespace sirelo {

struct OnlineHit {
    std::string detailAddress;
    std::string videoName;
};

struct OnlineItem {
    std::string info;
    std::string pageAddress;
};

// The site's form with the percent-encoded UTF-8 bytes of the GBK keyword in it.
std::string OnlineSearchForm(const OnlineSite& site, std::string_view keyword);

OnlineHit ReadOnlineHit(const OnlineSite& site, std::string_view hit, std::string_view base);

struct OnlineDetailCut {
    std::vector<OnlineItem> items;
    // Items the page held beyond what was finished: past the per-page item
    // bound, or once the page's budget was spent.
    int itemsLeftOut = 0;
};

// The playable items of one GBK detail page, in page order.
OnlineDetailCut ReadDetailItems(const OnlineSite& site, std::string_view base,
                                std::string_view page, PageBudget budget = {});

}  // namespace sirelo
