#include "text/text.h"

#include <algorithm>
#include <utility>

#include "text/codepage.h"

namespace sirelo {
namespace {

bool IsLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasAsciiLetter(std::string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

bool EqualsAt(std::string_view text, std::size_t at, std::string_view what, bool ignoreCase) {
    if (!ignoreCase) return text.compare(at, what.size(), what) == 0;
    for (std::size_t i = 0; i < what.size(); ++i) {
        if (FoldAscii(text[at + i]) != FoldAscii(what[i])) return false;
    }
    return true;
}

// The first position at or after `from` where `what` occurs bytewise, ignoring
// character boundaries; npos when none.
std::size_t FindBytes(std::string_view text, std::string_view what, std::size_t from,
                      bool ignoreCase) {
    if (!ignoreCase || !HasAsciiLetter(what)) return text.find(what, from);
    const char first = FoldAscii(what[0]);
    for (std::size_t at = from; at + what.size() <= text.size(); ++at) {
        if (FoldAscii(text[at]) == first && EqualsAt(text, at, what, true)) return at;
    }
    return std::string_view::npos;
}

constexpr std::size_t kNoMatch = std::string_view::npos;

// Whether `at` starts a character, given that `from` <= `at` does. A byte below
// 0x80 is never a lead byte, so the byte after it always starts a character;
// from there the bytes of 0x80 or more pair up. So only the run of high bytes
// just before `at` needs counting.
bool IsCharacterStart(std::string_view text, std::size_t from, std::size_t at) {
    std::size_t highRun = 0;
    while (at - highRun > from && IsLeadByte(text[at - highRun - 1]))
        ++highRun;
    return highRun % 2 == 0;
}

// The first occurrence of `what` (non-empty) that starts at a character start,
// the walk over character starts beginning at byte `from`.
std::size_t FindAtCharacterStart(std::string_view text, std::string_view what, std::size_t from,
                                 bool ignoreCase) {
    for (std::size_t pos = from; pos < text.size();) {
        const std::size_t candidate = FindBytes(text, what, pos, ignoreCase);
        if (candidate == kNoMatch || IsCharacterStart(text, pos, candidate)) return candidate;
        pos = candidate + 1;  // the candidate is a trail byte; a character starts after it
    }
    return kNoMatch;
}

std::size_t NextCharacterStart(std::string_view text, std::size_t pos) {
    return pos + (IsLeadByte(text[pos]) ? 2 : 1);
}

bool IsSpaceAt(std::string_view text, std::size_t pos, std::size_t& width) {
    if (text[pos] == ' ') {
        width = 1;
        return true;
    }
    if (text[pos] == '\xA1' && pos + 1 < text.size() && text[pos + 1] == '\xA1') {
        width = 2;
        return true;
    }
    width = IsLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
    return false;
}

}  // namespace

int FindText(std::string_view text, std::string_view what, int start, bool ignoreCase) {
    const std::size_t begin = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (begin >= text.size()) return -1;
    if (what.empty()) return 1;
    const std::size_t at = FindAtCharacterStart(text, what, begin, ignoreCase);
    return at == kNoMatch ? -1 : static_cast<int>(at + 1);
}

int FindTextBackward(std::string_view text, std::string_view what, std::optional<int> start,
                     bool ignoreCase) {
    const std::size_t limit =
        start ? std::min(static_cast<std::size_t>(std::max(*start, 1) - 1), text.size())
              : text.size();
    const std::string_view searched = text.substr(0, limit);
    if (what.empty()) return searched.empty() ? -1 : 1;
    int last = -1;
    std::size_t from = 0;
    while (from < searched.size()) {
        const std::size_t at = FindAtCharacterStart(searched, what, from, ignoreCase);
        if (at == kNoMatch) break;
        last = static_cast<int>(at + 1);
        from = NextCharacterStart(searched, at);
    }
    return last;
}

std::string TextLeft(std::string_view text, int n) {
    if (n <= 0) return {};
    return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string TextRight(std::string_view text, int n) {
    if (n <= 0) return {};
    const std::size_t count = std::min(static_cast<std::size_t>(n), text.size());
    return std::string(text.substr(text.size() - count));
}

std::string TextMid(std::string_view text, int start, int n) {
    if (start < 1 || static_cast<std::size_t>(start) > text.size() || n <= 0) return {};
    return std::string(
        text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
}

std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement,
                        int start, std::optional<int> count, bool caseSensitive,
                        std::size_t maxLength) {
    const std::size_t begin = static_cast<std::size_t>(std::max(start, 1) - 1);
    if (text.empty() || find.empty() || begin >= text.size() || (count && *count == 0)) {
        return std::string(TextCutAt(text, maxLength));
    }
    std::string out;
    out.reserve(std::min(text.size(), maxLength));
    std::size_t copiedUpTo = 0;
    std::size_t pos = begin;
    int made = 0;
    while (pos + find.size() <= text.size() && out.size() < maxLength) {
        const std::size_t candidate = FindBytes(text, find, pos, !caseSensitive);
        if (candidate == kNoMatch) break;
        if (!IsCharacterStart(text, pos, candidate)) {
            pos = candidate + 1;
            continue;
        }
        out.append(text, copiedUpTo, candidate - copiedUpTo);
        out.append(replacement);
        pos = candidate + find.size();
        copiedUpTo = pos;
        if (count && ++made == *count) break;
    }
    if (out.size() < maxLength) out.append(text.substr(std::min(copiedUpTo, text.size())));
    if (out.size() > maxLength) out.resize(TextCutAt(out, maxLength).size());
    return out;
}

std::string_view TextCutAt(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    return text.substr(0, IsCharacterStart(text, 0, maxBytes) ? maxBytes : maxBytes - 1);
}

std::string TrimSpaces(std::string_view text, TrimMode mode) {
    std::string out;
    std::size_t firstKept = text.size();
    std::size_t endKept = 0;
    for (std::size_t pos = 0, width = 0; pos < text.size(); pos += width) {
        const bool space = IsSpaceAt(text, pos, width);
        if (mode == TrimMode::All) {
            if (!space) out.append(text.substr(pos, width));
        } else if (!space) {
            firstKept = std::min(firstKept, pos);
            endKept = std::min(pos + width, text.size());
        }
    }
    if (mode == TrimMode::All) return out;
    if (firstKept == text.size()) {
        // Nothing but spaces: leading and trailing trims both remove them all.
        return {};
    }
    const std::size_t from = (mode == TrimMode::Trailing) ? 0 : firstKept;
    const std::size_t to = (mode == TrimMode::Leading) ? text.size() : endKept;
    return std::string(text.substr(from, to - from));
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (std::size_t pos = 0; pos < out.size(); ++pos) {
        if (IsLeadByte(out[pos])) {
            ++pos;
        } else {
            out[pos] = FoldAscii(out[pos]);
        }
    }
    return out;
}

TextList SplitText(std::string_view text, std::string_view separator,
                   std::optional<int> maxPieces) {
    TextList pieces;
    if (text.empty() || (maxPieces && *maxPieces <= 0)) return pieces;
    if (separator.empty()) return {std::string(text)};
    std::size_t cut = 0;
    while (cut < text.size()) {
        const std::size_t at = FindAtCharacterStart(text, separator, cut, false);
        if (at == kNoMatch) break;
        pieces.emplace_back(text.substr(cut, at - cut));
        cut = at + separator.size();
        if (maxPieces && static_cast<int>(pieces.size()) == *maxPieces) return pieces;
    }
    if (cut < text.size()) pieces.emplace_back(text.substr(cut));
    return pieces;
}

TextList ExtractAllBetween(std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, const ExtractOptions& options) {
    // Overlapping pieces can add up to far more than the page itself; a hostile
    // page must not turn that into a memory or time blow-up, so the total of the
    // pieces cut out is bounded, whether they are kept or skipped, each piece
    // counting its own bookkeeping too, so a page of tiny pieces is bounded as well.
    constexpr std::size_t kMaxTotalBytes = 64u << 20;
    TextList pieces;
    if (startMarker.empty()) return pieces;
    std::size_t total = 0;
    int pos = options.start;
    while (true) {
        const int startAt = FindText(text, startMarker, pos, options.ignoreCase);
        if (startAt < 0) break;
        pos = startAt + static_cast<int>(startMarker.size());
        const int endAt = FindText(text, endMarker, pos, options.ignoreCase);
        if (endAt < 0) break;
        std::string piece = options.prefix + TextMid(text, pos, endAt - pos) + options.suffix;
        if (options.includeStartMarker) piece.insert(0, startMarker);
        if (options.includeEndMarker) piece.append(endMarker);
        total += sizeof(std::string) + piece.size();
        if (total > kMaxTotalBytes) break;
        if (options.maxLength == 0 || std::cmp_less(piece.size(), options.maxLength)) {
            pieces.push_back(std::move(piece));
        }
    }
    return pieces;
}

std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, int start, bool ignoreCase) {
    static constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";  // #引号
    const std::string open = ReplaceText(startMarker, kQuotePlaceholder, "\"", 1, {}, true);
    const std::string close = ReplaceText(endMarker, kQuotePlaceholder, "\"", 1, {}, true);
    const int p = FindText(text, open, start, ignoreCase);
    if (p < 0) return {};
    const int from = p + static_cast<int>(open.size());
    const int q = FindText(text, close, from, ignoreCase);
    if (q < 0) return {};
    return TextMid(text, from, q - from);
}

std::string TextBefore(std::string_view text, std::string_view marker, int start, bool ignoreCase) {
    const int p = FindText(text, marker, std::max(start, 1), ignoreCase);
    if (p < 0) return {};
    return TextLeft(text, p - 1);
}

std::string TextAfterLast(std::string_view text, std::string_view marker, std::optional<int> start,
                          bool ignoreCase) {
    const int p = FindTextBackward(text, marker, start, ignoreCase);
    if (p < 0) return {};
    return TextRight(text, static_cast<int>(text.size() - marker.size()) - p + 1);
}

std::string ReplacePairs(std::string_view text, std::initializer_list<ReplacePair> pairs,
                         std::optional<int> count, int start, bool caseSensitive) {
    std::string out(text);
    for (const ReplacePair& pair : pairs) {
        if (pair.find.empty()) continue;
        out = ReplaceText(out, pair.find, pair.replacement, start == 0 ? 1 : start, count,
                          caseSensitive);
    }
    return out;
}

std::string UrlEncode(std::string_view text, bool keepUnreserved, bool asUtf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string bytes = asUtf8 ? GbkToUtf8(text) : std::string(text);
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const bool unreserved = c == '-' || c == '.' || (c >= '0' && c <= '9') ||
                                (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (keepUnreserved && unreserved) {
            out.push_back(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsAt(text, 0, prefix, true);
}

std::string_view WithoutTrailing(std::string_view text, char c) {
    while (!text.empty() && text.back() == c)
        text.remove_suffix(1);
    return text;
}

std::string_view TextUpToZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

}  // namespace sirelo
