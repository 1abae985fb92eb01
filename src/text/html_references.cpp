#include "text/html_references.h"

#include <array>
#include <optional>
#include <utility>

#include "text/codepage.h"

namespace sirelo {
namespace {

constexpr std::array<std::pair<std::string_view, char32_t>, 6> kNamed{{
    {"amp", U'&'},
    {"lt", U'<'},
    {"gt", U'>'},
    {"quot", U'"'},
    {"apos", U'\''},
    {"nbsp", U'\u00A0'},
}};

int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The numeric reference whose digits start at `at`, ending with ";"; `end` is
// set past the ";". No character for a reference without digits or ";", or
// one that names no character a text may hold.
std::optional<char32_t> NumericReference(std::string_view text, std::size_t at, int base,
                                         std::size_t& end) {
    constexpr char32_t kLast = 0x10FFFF;
    char32_t code = 0;
    std::size_t i = at;
    for (int digit = 0; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i) {
        code =
            code > kLast ? code : code * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
    }
    if (i == at || i >= text.size() || text[i] != ';') return std::nullopt;
    if (code == 0 || code > kLast || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    end = i + 1;
    return code;
}

// The reference that starts with the "&" at `at`, and where it ends.
std::optional<char32_t> Reference(std::string_view text, std::size_t at, std::size_t& end) {
    const std::string_view rest = text.substr(at + 1);
    if (rest.starts_with("#x") || rest.starts_with("#X"))
        return NumericReference(text, at + 3, 16, end);
    if (rest.starts_with("#")) return NumericReference(text, at + 2, 10, end);
    for (const auto& [name, code] : kNamed) {
        if (rest.starts_with(name) && rest.substr(name.size()).starts_with(';')) {
            end = at + 1 + name.size() + 1;
            return code;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string UnescapeHtml(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size());
    // "&" is never the second byte of a GBK character, so a byte search finds only real ones.
    std::size_t copied = 0;
    for (std::size_t at = gbk.find('&'); at != gbk.npos; at = gbk.find('&', at + 1)) {
        std::size_t end = 0;
        const std::optional<char32_t> code = Reference(gbk, at, end);
        if (!code) continue;
        out.append(gbk, copied, at - copied);
        out += GbkCharacter(*code);
        copied = end;
        at = end - 1;
    }
    out.append(gbk, copied);
    return out;
}

}  // namespace sirelo
