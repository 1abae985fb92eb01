#include "config/network_settings.h"

#include <optional>

#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/profile_text.h"
#include "text/codepage.h"

namespace sirelo {

std::string ReadProxySetting(AppConfig& config) {
    config.ensureConfigFolder();
    std::optional<std::string> text = ReadWholeFile(config.configFilePath());
    if (!text) return {};
    return ReadProfileValue(*text, Utf8ToGbk("网络"), Utf8ToGbk("代理"));
}

}  // namespace sirelo
