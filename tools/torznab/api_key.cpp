#include "api_key.h"

#include <sys/random.h>

#include <array>
#include <optional>

#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/profile_text.h"
#include "text/codepage.h"

namespace sirelo::torznab {
namespace {

std::optional<std::string> RandomKey() {
    std::array<unsigned char, 16> bytes{};
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got <= 0) return std::nullopt;
        filled += static_cast<std::size_t>(got);
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key;
    for (unsigned char byte : bytes) {
        key += kHex[byte >> 4];
        key += kHex[byte & 0xF];
    }
    return key;
}

}  // namespace

ApiKey EnsureApiKey(AppConfig& config) {
    config.ensureConfigFolder();
    const std::string section = Utf8ToGbk("网络"), name = Utf8ToGbk("接口密钥");
    ApiKey result;
    if (const std::optional<std::string> text = ReadWholeFile(config.configFilePath())) {
        result.key = GbkToUtf8(ReadProfileValue(*text, section, name));
    }
    if (!result.key.empty()) return result;
    const std::optional<std::string> key = RandomKey();
    if (!key) return result;
    result.key = *key;
    result.made = true;
    result.written = config.writeSetting(section, name, result.key);
    return result;
}

}  // namespace sirelo::torznab
