#pragma once
// The optional section [站点地址] of Configuration.ini: addresses that win over
// the site definitions' bases. Read once at start-up, never written; the
// roster (sitedefs/site_roster.h) applies it to each site's base.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/profile_text.h"

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
