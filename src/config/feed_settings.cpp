#include "config/feed_settings.h"

#include <algorithm>

#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/profile_text.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

std::string Section() {
    return Utf8ToGbk("站点");
}
std::string AddressKey() {
    return Utf8ToGbk("订阅地址");
}
std::string PublicKeyKey() {
    return Utf8ToGbk("订阅公钥");
}

}  // namespace

std::optional<FeedSettings> ReadFeedSettings(AppConfig& config) {
    config.ensureConfigFolder();
    const std::optional<std::string> text = ReadWholeFile(config.configFilePath());
    if (!text) return std::nullopt;
    const ProfileLines lines = SplitProfileLines(*text);
    FeedSettings settings{ReadProfileValue(lines, Section(), AddressKey()),
                          ReadProfileValue(lines, Section(), PublicKeyKey())};
    if (settings.address.empty() || settings.publicKey.empty()) return std::nullopt;
    return settings;
}

std::string FeedAddressProblem(const std::string& address) {
    if (!address.starts_with("http://") && !address.starts_with("https://"))
        return "wants an http:// or https:// address";
    if (address.size() > 2048) return "is longer than 2 KiB";
    if (std::any_of(address.begin(), address.end(),
                    [](char c) { return c <= ' ' || c == 0x7F || (c & 0x80) != 0; })) {
        return "holds a blank, a control or a non-ASCII character";
    }
    const std::size_t hostStart = address.find("//") + 2;
    const std::string authority =
        address.substr(hostStart, address.find('/', hostStart) - hostStart);
    if (authority.empty()) return "has no host";
    if (authority.find('@') != std::string::npos) return "holds a user part";
    return {};
}

bool WriteFeedSettings(AppConfig& config, const FeedSettings& settings) {
    return config.writeSetting(Section(), AddressKey(), settings.address) &&
           config.writeSetting(Section(), PublicKeyKey(), settings.publicKey);
}

bool RemoveFeedSettings(AppConfig& config) {
    return config.removeSetting(Section(), AddressKey()) &&
           config.removeSetting(Section(), PublicKeyKey());
}

}  // namespace sirelo
