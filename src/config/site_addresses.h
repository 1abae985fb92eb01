#pragma once
// Base addresses of the sites: the site definitions' bases, overridden by the
// optional section [站点地址] of Configuration.ini, read once at start-up,
// never written. The roster (sitedefs/site_roster.h) makes the record.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/profile_text.h"
#include "config/site_switch.h"

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

// The address each site's requests go to: scheme://host[:port], joined to the
// site's paths as it is.
struct SiteAddresses {
    std::array<std::string, kMaxMagnetSites> magnet;  // by the site's place; no trailing "/"
    // By the site's place; ending in "/" where its paths want one.
    std::array<std::string, kMaxOnlineSites> online;
    std::string board;  // the film-ranking site, to which the board's page is joined
    std::vector<RefusedAddress> refused;
};

// The address at a site's place; empty for a place without one.
template <std::size_t N>
const std::string& AddressAt(const std::array<std::string, N>& addresses, int index) {
    static const std::string none;
    if (index < 0 || static_cast<std::size_t>(index) >= N) return none;
    return addresses[static_cast<std::size_t>(index)];
}

// [站点地址] of the configuration file, read once.
class SiteAddressSection {
  public:
    explicit SiteAddressSection(AppConfig& config);
    SiteAddressSection(const SiteAddressSection&) = delete;
    SiteAddressSection& operator=(const SiteAddressSection&) = delete;

    // Sets `address` from the key (UTF-8) when it holds a base address
    // (IsBaseAddress), kept ending in "/" exactly when `address` did; any
    // other value is listed in `refused` and `address` stays.
    void apply(std::string_view key, std::string& address,
               std::vector<RefusedAddress>& refused) const;

  private:
    std::optional<std::string> text_;
    ProfileLines profile_;  // views text_
};

}  // namespace sirelo
