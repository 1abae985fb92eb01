#pragma once
// The built-in sites with no address at all: every request fails at once, so
// a window or a run made for a test never reaches the internet.

#include "sitedefs/program_definitions.h"

namespace sirelo::testing {

inline SiteDefinitions WithoutAddresses(SiteDefinitions definitions = BuiltInSiteDefinitions()) {
    for (MagnetSite& site : definitions.magnet)
        site.base.clear();
    for (OnlineSite& site : definitions.online)
        site.base.clear();
    definitions.board.base.clear();
    return definitions;
}

// Lives as long as the process, for windows and controllers that keep a reference.
inline const SiteDefinitions& OfflineSiteDefinitions() {
    static const SiteDefinitions offline = WithoutAddresses();
    return offline;
}

}  // namespace sirelo::testing
