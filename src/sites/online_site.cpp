#include "sites/online_site.h"

#include <algorithm>

#include "sites/site_bounds.h"
#include "text/text.h"

namespace sirelo {
namespace {

// The text the items are cut from. A page without its block (a failed or
// changed page) gives nothing: the bare wrapping would read as one empty item.
std::string ItemText(const OnlineSite& site, std::string_view page) {
    if (site.blockStart.empty()) return std::string(page);
    const std::string block = TextBetween(page, site.blockStart, site.blockEnd);
    if (block.empty()) return {};
    return site.blockPrefix + block + site.blockSuffix;
}

}  // namespace

std::string OnlineSearchForm(const OnlineSite& site, std::string_view keyword) {
    return FillPlaceholders(site.form, UrlEncode(keyword, false, true), "");
}

OnlineHit ReadOnlineHit(const OnlineSite& site, std::string_view hit, std::string_view base) {
    return {std::string(base) + TextBetween(hit, site.detailStart, site.detailEnd),
            TextBetween(hit, site.nameStart, site.nameEnd)};
}

OnlineDetailCut ReadDetailItems(const OnlineSite& site, std::string_view base,
                                std::string_view page, PageBudget budget) {
    TextList pieces = ExtractAllBetween(ItemText(site, page), site.itemStart, site.itemEnd);
    OnlineDetailCut cut;
    for (std::size_t i = 0; i < std::min(pieces.size(), kMaxPageItems); ++i) {
        OnlineItem item{
            ApplyFinishing(pieces[i], site.info, budget),
            std::string(base) + ApplyFinishing(std::move(pieces[i]), site.addressPath, budget)};
        if (!KeepFinishedItem(item.info.size() + item.pageAddress.size(), budget)) break;
        cut.items.push_back(std::move(item));
    }
    cut.itemsLeftOut = static_cast<int>(pieces.size() - cut.items.size());
    return cut;
}

}  // namespace sirelo
