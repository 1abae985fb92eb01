#include "config/site_addresses.h"

#include <optional>
#include <string_view>
#include <utility>

#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/profile_text.h"
#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

constexpr const char* kAddressSection = "站点地址";

// Something after http:// or https://.
bool IsWebAddress(std::string_view value) {
    for (std::string_view scheme : {"http://", "https://"}) {
        if (StartsWithIgnoringAsciiCase(value, scheme) && value.size() > scheme.size()) return true;
    }
    return false;
}

// Sets `address` from the file when the key holds a web address; every base is
// kept without a final "/", and the caller adds one where its paths need it.
void Override(std::string& address, const ProfileLines& profile, const char* key) {
    std::string value(WithoutTrailing(
        ReadProfileValue(profile, Utf8ToGbk(kAddressSection), Utf8ToGbk(key)), '/'));
    if (IsWebAddress(value)) address = std::move(value);
}

}  // namespace

SiteAddresses ReadSiteAddresses(AppConfig& config, SiteAddresses defaults) {
    SiteAddresses addresses = std::move(defaults);
    config.ensureConfigFolder();
    const std::optional<std::string> text = ReadWholeFile(config.configFilePath());
    if (!text) return addresses;
    const ProfileLines profile = SplitProfileLines(*text);
    Override(addresses.magnet[kBtrabbit], profile, "Btrabbit");
    Override(addresses.magnet[kZzs], profile, "ZZS");
    Override(addresses.magnet[kDss], profile, "DSS");
    Override(addresses.magnet[kBtbook], profile, "Btbook");
    Override(addresses.lexiang, profile, "乐享电影网");
    Override(addresses.board, profile, "院线热映");
    std::string sevenDds(WithoutTrailing(addresses.sevenDds, '/'));
    Override(sevenDds, profile, "7DDS");
    addresses.sevenDds = sevenDds + "/";
    return addresses;
}

}  // namespace sirelo
