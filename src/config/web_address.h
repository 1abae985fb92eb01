#pragma once
// The host and port of web addresses: what a site's base may be, and where a
// scraped address leads (ASCII letters compared without case).

#include <optional>
#include <string>
#include <string_view>

namespace sirelo {

struct WebAuthority {
    std::string host;  // lower-cased
    int port = 0;
};

// The host and port of an http or https address. The authority ends at the
// first "/", "?" or "#"; browsers also end it at "\", and read a user part
// before "@", so an authority holding either, or anything but host letters,
// digits, dots, hyphens and one port, is refused rather than guessed at.
std::optional<WebAuthority> AuthorityOf(std::string_view address);

// http:// or https://, a host, an optional port and nothing else but a final
// "/": the shape of a site's base, to which paths are joined as they are.
bool IsBaseAddress(std::string_view address);

}  // namespace sirelo
