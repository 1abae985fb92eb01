#include "sites/online_site.h"

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

const std::string& OnlineBase(const SiteAddresses& addresses, int siteIndex) {
    return siteIndex == k7dds ? addresses.sevenDds : addresses.lexiang;
}

std::string OnlineSearchForm(const OnlineSite& site, std::string_view keyword) {
    return FillPlaceholders(site.form, UrlEncode(keyword, false, true), "");
}

OnlineHit ReadOnlineHit(const OnlineSite& site, std::string_view hit, std::string_view base) {
    return {std::string(base) + TextBetween(hit, site.detailStart, site.detailEnd),
            TextBetween(hit, site.nameStart, site.nameEnd)};
}

std::vector<OnlineItem> ReadDetailItems(const OnlineSite& site, std::string_view base,
                                        std::string_view page) {
    std::vector<OnlineItem> items;
    for (std::string& item :
         ExtractAllBetween(ItemText(site, page), site.itemStart, site.itemEnd)) {
        items.push_back({ApplyFinishing(item, site.info),
                         std::string(base) + ApplyFinishing(std::move(item), site.addressPath)});
    }
    return items;
}

}  // namespace sirelo
