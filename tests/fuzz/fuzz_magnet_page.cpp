#include <cstdlib>

#include "fuzz_input.h"
#include "fuzz_sites.h"

using namespace sirelo;

namespace {

// A site whose markers and finishing steps come from the input too, so every
// kind of step meets hostile pieces, not only the built-in sites' markers.
MagnetSite SiteFrom(const std::vector<std::string>& parts, std::uint8_t kinds) {
    MagnetSite site{};
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        FieldRule& rule = site.fields[field];
        rule.startMarker = parts[1];
        rule.endMarker = parts[2];
        const auto kind = static_cast<FinishKind>((kinds + field) % 8);
        rule.steps.push_back({kind, {parts[3], parts[2], parts[1], parts[3]}});
    }
    return site;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitInput(data, size, 4);
    std::vector<std::string> texts;
    for (const std::string& part : parts)
        texts.push_back(fuzz::WithoutZeros(part));
    const std::string& page = texts[0];
    // One item per name piece, and a piece needs a marker somewhere in the page.
    for (const MagnetSite& site : fuzz::BuiltInMagnetSites()) {
        if (CutMagnetPage(site, page).results.size() > page.size() + 1) std::abort();
    }
    const MagnetSite made = SiteFrom(texts, size > 0 ? data[size - 1] : 0);
    if (CutMagnetPage(made, page).results.size() > page.size() + 1) std::abort();
    return 0;
}
