#include "config/site_addresses.h"

#include <optional>
#include <string_view>
#include <utility>

#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/profile_text.h"
#include "config/web_address.h"
#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

constexpr const char* kAddressSection = "站点地址";

// Sets `address` from the file when the key holds a base address, and lists
// any other value as refused; every base is kept without a final "/", and the
// caller adds one where its paths need it.
void Override(std::string& address, const ProfileLines& profile, const char* key,
              std::vector<RefusedAddress>& refused) {
    std::string value(WithoutTrailing(
        ReadProfileValue(profile, Utf8ToGbk(kAddressSection), Utf8ToGbk(key)), '/'));
    if (value.empty()) return;
    if (IsBaseAddress(value)) {
        address = std::move(value);
    } else {
        refused.push_back({key, std::move(value), address});
    }
}

}  // namespace

SiteAddresses ReadSiteAddresses(AppConfig& config, SiteAddresses defaults) {
    SiteAddresses addresses = std::move(defaults);
    config.ensureConfigFolder();
    const std::optional<std::string> text = ReadWholeFile(config.configFilePath());
    if (!text) return addresses;
    const ProfileLines profile = SplitProfileLines(*text);
    std::vector<RefusedAddress>& refused = addresses.refused;
    Override(addresses.magnet[kBtrabbit], profile, "Btrabbit", refused);
    Override(addresses.magnet[kZzs], profile, "ZZS", refused);
    Override(addresses.magnet[kDss], profile, "DSS", refused);
    Override(addresses.magnet[kBtbook], profile, "Btbook", refused);
    Override(addresses.lexiang, profile, "乐享电影网", refused);
    Override(addresses.board, profile, kBoardAddressKey, refused);
    std::string sevenDds(WithoutTrailing(addresses.sevenDds, '/'));
    Override(sevenDds, profile, "7DDS", refused);
    addresses.sevenDds = sevenDds + "/";
    return addresses;
}

}  // namespace sirelo
