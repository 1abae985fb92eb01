#pragma once
// What a magnet site's definition (sitedefs/site_definitions.h) gives: the
// address of a result page, and the result items cut out of one.

#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/site_definitions.h"
#include "text/page_budget.h"

namespace sirelo {

// The cells a result item gives; ordinal and site label come with the insert.
struct MagnetResult {
    std::string name;
    std::string magnetLink;
    std::string size;
    std::string heat;
    std::string created;
};

// `base` is scheme://host[:port]; the keyword is GBK and goes out as the
// percent-encoded bytes of its UTF-8 form.
std::string MagnetPageUrl(const MagnetSite& site, std::string_view base, std::string_view keyword,
                          int page);

struct MagnetPageCut {
    std::vector<MagnetResult> results;
    // Items the page held beyond what was finished: past the per-page item
    // bound, or once the page's budget was spent.
    int itemsLeftOut = 0;
};

// The items of one GBK result page. The name list alone says how many there
// are; a field with fewer pieces than names gives an empty cell.
MagnetPageCut CutMagnetPage(const MagnetSite& site, std::string_view page, PageBudget budget = {});

}  // namespace sirelo
