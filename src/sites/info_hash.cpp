#include "sites/info_hash.h"

#include "text/text.h"

namespace sirelo {
namespace {

constexpr std::string_view kBtih = "xt=urn:btih:";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int Base32Digit(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= '2' && c <= '7') return c - '2' + 26;
    return -1;
}

std::optional<InfoHash> FromHex(std::string_view digits) {
    InfoHash hash{};
    for (std::size_t i = 0; i < hash.size(); ++i) {
        const int high = HexDigit(digits[2 * i]), low = HexDigit(digits[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        hash[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return hash;
}

// 32 characters of five bits each are exactly 160 bits.
std::optional<InfoHash> FromBase32(std::string_view digits) {
    InfoHash hash{};
    unsigned bits = 0;
    int pending = 0;
    std::size_t out = 0;
    for (char c : digits) {
        const int digit = Base32Digit(c);
        if (digit < 0) return std::nullopt;
        bits = (bits << 5) | static_cast<unsigned>(digit);
        pending += 5;
        if (pending >= 8) {
            pending -= 8;
            hash[out++] = static_cast<unsigned char>(bits >> pending);
            bits &= (1u << pending) - 1;
        }
    }
    return hash;
}

}  // namespace

std::optional<InfoHash> InfoHashOf(std::string_view magnetLink) {
    if (!StartsWithIgnoringAsciiCase(magnetLink, "magnet:?")) return std::nullopt;
    std::string_view rest = magnetLink.substr(8);
    while (!rest.empty()) {
        const std::size_t end = rest.find('&');
        const std::string_view parameter = rest.substr(0, end);
        if (StartsWithIgnoringAsciiCase(parameter, kBtih)) {
            const std::string_view value = parameter.substr(kBtih.size());
            if (value.size() == 40) return FromHex(value);
            if (value.size() == 32) return FromBase32(value);
            return std::nullopt;
        }
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return std::nullopt;
}

}  // namespace sirelo
