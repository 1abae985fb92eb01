#include "config/site_addresses.h"

#include <utility>

#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/web_address.h"
#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

constexpr const char* kAddressSection = "站点地址";

}  // namespace

SiteAddressSection::SiteAddressSection(AppConfig& config) {
    config.ensureConfigFolder();
    text_ = ReadWholeFile(config.configFilePath());
    if (text_) profile_ = SplitProfileLines(*text_);
}

void SiteAddressSection::apply(std::string_view key, std::string& address,
                               std::vector<RefusedAddress>& refused) const {
    if (!text_) return;
    std::string value(WithoutTrailing(
        ReadProfileValue(profile_, Utf8ToGbk(kAddressSection), Utf8ToGbk(key)), '/'));
    if (value.empty()) return;
    const bool slash = !address.empty() && address.back() == '/';
    if (IsBaseAddress(value)) {
        address = std::move(value) + (slash ? "/" : "");
    } else {
        refused.push_back({std::string(key), std::move(value),
                           std::string(slash ? WithoutTrailing(address, '/') : address)});
    }
}

}  // namespace sirelo
