#include "net/http_proxy.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <string>
#include <utility>

namespace sirelo {

namespace {

std::mutex proxyMutex;
ProxySetting proxySetting;

bool IsHostByte(char c) {
    auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) != 0 || c == '.' || c == '-' || c == '_';
}

bool IsPort(std::string_view text) {
    if (text.empty() || text.size() > 5) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    int port = std::stoi(std::string(text));
    return port >= 1 && port <= 65535;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

std::optional<std::string> ValidProxyUrl(std::string_view value) {
    std::size_t schemeEnd = value.find("://");
    if (schemeEnd == std::string_view::npos) return std::nullopt;
    std::string scheme = LowerAscii(value.substr(0, schemeEnd));
    if (scheme != "http" && scheme != "socks5" && scheme != "socks5h") return std::nullopt;
    std::string_view rest = value.substr(schemeEnd + 3);
    if (rest.ends_with('/')) rest.remove_suffix(1);
    std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view host = rest.substr(0, colon);
    if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostByte)) return std::nullopt;
    if (!IsPort(rest.substr(colon + 1))) return std::nullopt;
    return scheme + "://" + std::string(rest);
}

void SetHttpProxy(std::string_view value) {
    ProxySetting setting;
    if (!value.empty()) {
        std::optional<std::string> url = ValidProxyUrl(value);
        setting.url = url.value_or("");
        setting.ignored = !url;
    }
    std::lock_guard guard(proxyMutex);
    proxySetting = std::move(setting);
}

ProxySetting CurrentHttpProxy() {
    std::lock_guard guard(proxyMutex);
    return proxySetting;
}

}  // namespace sirelo
