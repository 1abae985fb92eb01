#pragma once
// Base addresses of the sites: the site definitions' bases, overridden by the
// optional section [站点地址] of Configuration.ini, read once at start-up,
// never written.

#include <array>
#include <string>
#include <vector>

#include "config/live_settings.h"

namespace sirelo {

class AppConfig;

// The film-ranking site's key in [站点地址].
inline constexpr const char* kBoardAddressKey = "院线热映";

// A value of [站点地址] that is no base address; the built-in one stays in use.
struct RefusedAddress {
    std::string key;      // UTF-8, as the section names it: "DSS", "院线热映"
    std::string value;    // GBK, as the file gives it
    std::string builtIn;  // the address used instead
};

struct SiteAddresses {
    // scheme://host[:port], no trailing "/"; indexed by MagnetSiteIndex
    std::array<std::string, kMagnetSiteCount> magnet;
    std::string sevenDds;  // ends in "/": its paths are joined without one
    std::string lexiang;   // no trailing "/"
    std::string board;     // the film-ranking site, to which the board's page is joined
    std::vector<RefusedAddress> refused;
};

// The `defaults`, each replaced by its key in [站点地址] of the configuration file
// (Btrabbit, ZZS, DSS, Btbook, 7DDS, 乐享电影网, 院线热映) when that holds a base
// address (IsBaseAddress); any other value is listed in `refused`. Read once
// at start-up; the section is never written.
SiteAddresses ReadSiteAddresses(AppConfig& config, SiteAddresses defaults);

}  // namespace sirelo
