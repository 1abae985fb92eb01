#include "app/link_checks.h"

#include <optional>
#include <string>

#include "sites/online_site.h"
#include "text/text.h"

namespace sirelo {
namespace {

struct Authority {
    std::string host;  // lower-cased
    int port;
};

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// The host and port of an http or https address. The authority ends at the
// first "/", "?" or "#"; browsers also end it at "\", and read a user part
// before "@", so an authority holding either, or anything but host letters,
// digits, dots, hyphens and one port, is refused rather than guessed at.
std::optional<Authority> AuthorityOf(std::string_view address) {
    int port = 0;
    if (StartsWithIgnoringAsciiCase(address, "http://")) {
        address.remove_prefix(7);
        port = 80;
    } else if (StartsWithIgnoringAsciiCase(address, "https://")) {
        address.remove_prefix(8);
        port = 443;
    } else {
        return std::nullopt;
    }
    const std::string_view authority = address.substr(0, address.find_first_of("/?#"));
    const std::size_t colon = authority.find(':');
    const std::string_view host = authority.substr(0, colon);
    if (host.empty()) return std::nullopt;
    Authority result{std::string(), port};
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

}  // namespace

bool IsMagnetLink(std::string_view text) {
    return StartsWithIgnoringAsciiCase(text, "magnet:?") && text.size() <= kMagnetLinkLimit;
}

bool StaysOnHost(std::string_view address, std::string_view base) {
    const auto target = AuthorityOf(address);
    const auto own = AuthorityOf(base);
    return target && own && target->host == own->host && target->port == own->port;
}

bool MayOpenOnlinePage(const SiteDefinitions& definitions, const SiteAddresses& addresses,
                       std::string_view siteLabel, std::string_view address) {
    for (int site = 0; site < kOnlineSiteCount; ++site) {
        if (definitions.online[site].label == siteLabel)
            return StaysOnHost(address, OnlineBase(addresses, site));
    }
    return false;
}

}  // namespace sirelo
