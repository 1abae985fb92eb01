#pragma once
// Base addresses of the sites: the site definitions' bases, overridden by the
// optional section [站点地址] of Configuration.ini, read once at start-up,
// never written.

#include <array>
#include <string>

#include "config/live_settings.h"

namespace sirelo {

class AppConfig;

struct SiteAddresses {
    // scheme://host[:port], no trailing "/"; indexed by MagnetSiteIndex
    std::array<std::string, kMagnetSiteCount> magnet;
    std::string sevenDds;  // ends in "/": its paths are joined without one
    std::string lexiang;   // no trailing "/"
    std::string board;     // the film-ranking site, to which the board's page is joined
};

// The `defaults`, each replaced by its key in [站点地址] of the configuration file
// (Btrabbit, ZZS, DSS, Btbook, 7DDS, 乐享电影网, 院线热映) when that holds an
// http:// or https:// address. Read once at start-up; the section is never written.
SiteAddresses ReadSiteAddresses(AppConfig& config, SiteAddresses defaults);

}  // namespace sirelo
