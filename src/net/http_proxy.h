#pragma once
// The proxy every transfer goes through, set once at start-up from the
// configuration. Without one, transfers go direct and ignore any proxy named
// in the environment.

#include <optional>
#include <string>
#include <string_view>

namespace sirelo {

// `value` as libcurl takes it when it is http://host:port, socks5://host:port or
// socks5h://host:port (scheme in any case, an optional final "/"); else nothing.
std::optional<std::string> ValidProxyUrl(std::string_view value);

struct ProxySetting {
    std::string url;       // empty: direct
    bool ignored = false;  // a value was given but is not a valid proxy
};

// Called at start-up before any transfer, and by tests; an empty value means
// direct, an invalid one direct with `ignored` set. Any thread.
void SetHttpProxy(std::string_view value);
ProxySetting CurrentHttpProxy();

}  // namespace sirelo
