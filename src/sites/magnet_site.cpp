#include "sites/magnet_site.h"

#include <cstddef>

#include "text/text.h"

namespace sirelo {

std::string MagnetPageUrl(const MagnetSite& site, std::string_view base, std::string_view keyword,
                          int page) {
    return std::string(base) +
           FillPlaceholders(site.pagePath, UrlEncode(keyword, false, true), std::to_string(page));
}

std::vector<MagnetResult> CutMagnetPage(const MagnetSite& site, std::string_view page) {
    std::array<TextList, kFieldCount> pieces;
    for (int f = 0; f < kFieldCount; ++f) {
        pieces[f] = ExtractAllBetween(page, site.fields[f].startMarker, site.fields[f].endMarker);
    }
    // A missing piece stays empty rather than being finished: a prefix step
    // would otherwise invent a link out of nothing.
    auto cell = [&](int field, std::size_t i) {
        if (i >= pieces[field].size()) return std::string();
        return ApplyFinishing(std::move(pieces[field][i]), site.fields[field].steps);
    };
    std::vector<MagnetResult> results;
    results.reserve(pieces[kFieldName].size());
    for (std::size_t i = 0; i < pieces[kFieldName].size(); ++i) {
        results.push_back({cell(kFieldName, i), cell(kFieldLink, i), cell(kFieldSize, i),
                           cell(kFieldHeat, i), cell(kFieldCreated, i)});
    }
    return results;
}

}  // namespace sirelo
