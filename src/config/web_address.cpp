#include "config/web_address.h"

#include "text/text.h"

namespace sirelo {
namespace {

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// What follows the scheme, with the default port; nothing for another scheme.
std::optional<std::string_view> AfterScheme(std::string_view address, int& port) {
    for (auto [scheme, defaultPort] : {std::pair{"http://", 80}, std::pair{"https://", 443}}) {
        if (StartsWithIgnoringAsciiCase(address, scheme)) {
            port = defaultPort;
            return address.substr(std::string_view(scheme).size());
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<WebAuthority> AuthorityOf(std::string_view address) {
    WebAuthority result;
    const std::optional<std::string_view> rest = AfterScheme(address, result.port);
    if (!rest) return std::nullopt;
    const std::string_view authority = rest->substr(0, rest->find_first_of("/?#"));
    const std::size_t colon = authority.find(':');
    const std::string_view host = authority.substr(0, colon);
    if (host.empty()) return std::nullopt;
    for (char c : host) {
        if (!IsHostCharacter(c)) return std::nullopt;
        result.host.push_back(AsciiLower(c));
    }
    if (colon != std::string_view::npos) {
        const std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return std::nullopt;
        result.port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            result.port = result.port * 10 + (c - '0');
        }
    }
    return result;
}

bool IsBaseAddress(std::string_view address) {
    int port = 0;
    const std::optional<std::string_view> rest = AfterScheme(address, port);
    if (!rest) return false;
    const std::size_t end = rest->find_first_of("/?#");
    const bool onlyAuthority = end == std::string_view::npos || rest->substr(end) == "/";
    const std::optional<WebAuthority> authority = AuthorityOf(address);
    return onlyAuthority && authority && authority->port > 0 && authority->port <= 65535;
}

}  // namespace sirelo
