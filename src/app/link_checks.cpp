#include "app/link_checks.h"

#include <algorithm>

namespace sirelo {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(),
                      [](char prefix, char c) { return prefix == LowerAscii(c); });
}

}  // namespace

bool IsMagnetLink(std::string_view text) {
    return StartsWithIgnoringAsciiCase(text, "magnet:");
}

bool IsWebAddress(std::string_view text) {
    return StartsWithIgnoringAsciiCase(text, "http://") ||
           StartsWithIgnoringAsciiCase(text, "https://");
}

}  // namespace sirelo
