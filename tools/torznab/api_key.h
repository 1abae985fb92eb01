#pragma once
// The key every request must carry: [网络] 接口密钥 of Configuration.ini.

#include <string>

namespace sirelo {
class AppConfig;
}

namespace sirelo::torznab {

struct ApiKey {
    std::string key;
    bool made = false;     // there was none: this one is new
    bool written = false;  // a new key went into the file
};

// The configured key; when there is none, a new one of 32 hex digits from the
// system's random source, written through the settings writer.
ApiKey EnsureApiKey(AppConfig& config);

}  // namespace sirelo::torznab
