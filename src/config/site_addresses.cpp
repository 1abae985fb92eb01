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
void Override(std::string& address, const std::string& fileText, const char* key) {
    std::string value(WithoutTrailing(
        ReadProfileValue(fileText, Utf8ToGbk(kAddressSection), Utf8ToGbk(key)), '/'));
    if (IsWebAddress(value)) address = std::move(value);
}

}  // namespace

SiteAddresses ReadSiteAddresses(AppConfig& config, SiteAddresses defaults) {
    SiteAddresses addresses = std::move(defaults);
    config.ensureConfigFolder();
    std::optional<std::string> text = ReadWholeFile(config.configFilePath());
    if (!text) return addresses;
    Override(addresses.magnet[kBtrabbit], *text, "Btrabbit");
    Override(addresses.magnet[kZzs], *text, "ZZS");
    Override(addresses.magnet[kDss], *text, "DSS");
    Override(addresses.magnet[kBtbook], *text, "Btbook");
    Override(addresses.lexiang, *text, "乐享电影网");
    Override(addresses.board, *text, "院线热映");
    std::string sevenDds(WithoutTrailing(addresses.sevenDds, '/'));
    Override(sevenDds, *text, "7DDS");
    addresses.sevenDds = sevenDds + "/";
    return addresses;
}

}  // namespace sirelo
