#include "sites/magnet_site.h"

#include <algorithm>
#include <cstddef>

#include "sites/site_bounds.h"
#include "text/text.h"

namespace sirelo {

std::string MagnetPageUrl(const MagnetSite& site, std::string_view base, std::string_view keyword,
                          int page) {
    return std::string(base) +
           FillPlaceholders(site.pagePath, UrlEncode(keyword, false, true), std::to_string(page));
}

MagnetPageCut CutMagnetPage(const MagnetSite& site, std::string_view page, PageBudget budget) {
    std::array<TextList, kFieldCount> pieces;
    for (int f = 0; f < kFieldCount; ++f) {
        pieces[f] = ExtractAllBetween(page, site.fields[f].startMarker, site.fields[f].endMarker);
    }
    // A missing piece stays empty rather than being finished: a prefix step
    // would otherwise invent a link out of nothing.
    auto cell = [&](int field, std::size_t i) {
        if (i >= pieces[field].size()) return std::string();
        return ApplyFinishing(std::move(pieces[field][i]), site.fields[field].steps, budget);
    };
    const std::size_t items = pieces[kFieldName].size();
    MagnetPageCut cut;
    cut.results.reserve(std::min(items, kMaxPageItems));
    for (std::size_t i = 0; i < std::min(items, kMaxPageItems); ++i) {
        MagnetResult result{cell(kFieldName, i), cell(kFieldLink, i), cell(kFieldSize, i),
                            cell(kFieldHeat, i), cell(kFieldCreated, i)};
        const std::size_t bytes = result.name.size() + result.magnetLink.size() +
                                  result.size.size() + result.heat.size() + result.created.size();
        if (!KeepFinishedItem(bytes, budget)) break;
        cut.results.push_back(std::move(result));
    }
    cut.itemsLeftOut = static_cast<int>(items - cut.results.size());
    return cut;
}

}  // namespace sirelo
