#include "sites/online_site.h"

#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

std::array<OnlineSite, kOnlineSiteCount> BuildOnlineSites() {
    return {{
        {k7dds,
         Gbk("7DDS"),
         "index.php?m=vod-search",
         "",
         "",
         "",
         "",
         "title='",
         "' target",
         {Before("' href=")},
         {AfterLast("href='")},
         true},
        {kLexiang,
         Gbk("乐享电影网"),
         "/index.php?s=vod-search-name",
         "<li><a href=\"",
         "</a></li> ",
         "href=\"",
         "</a>",
         "href=\"",
         "</a>",
         {AfterLast("\">")},
         {Before("\">")},
         false},
    }};
}

// The text the items are cut from. A page without its block (a failed or
// changed page) gives nothing: the bare wrapping would read as one empty item.
std::string ItemText(const OnlineSite& site, std::string_view page) {
    if (site.blockStart.empty()) return std::string(page);
    const std::string block = TextBetween(page, site.blockStart, site.blockEnd);
    if (block.empty()) return {};
    return site.blockPrefix + block + site.blockSuffix;
}

}  // namespace

const std::array<OnlineSite, kOnlineSiteCount>& OnlineSites() {
    static const std::array<OnlineSite, kOnlineSiteCount> sites = BuildOnlineSites();
    return sites;
}

const std::string& OnlineBase(const SiteAddresses& addresses, int siteIndex) {
    return siteIndex == k7dds ? addresses.sevenDds : addresses.lexiang;
}

std::string OnlineSearchForm(std::string_view keyword) {
    return "wd=" + UrlEncode(keyword, false, true);
}

OnlineHit ReadOnlineHit(std::string_view hit, std::string_view base) {
    return {std::string(base) + TextBetween(hit, "href=\"", "\">"),
            TextBetween(hit, "\">", "</a></h3>")};
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
