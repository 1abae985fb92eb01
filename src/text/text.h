#pragma once
// Operations on GBK texts. A text is a std::string of GBK bytes; positions are
// 1-based byte positions and -1 means "not found". A byte of 0x80 or more starts
// a two-byte character, and searches only try a match at a character's first byte.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

using TextList = std::vector<std::string>;

// --- primitives ---

int FindText(std::string_view text, std::string_view what, int start = 1, bool ignoreCase = false);
// The last occurrence lying wholly before `start` (default: the whole text).
int FindTextBackward(std::string_view text, std::string_view what,
                     std::optional<int> start = std::nullopt, bool ignoreCase = false);

std::string TextLeft(std::string_view text, int n);
std::string TextRight(std::string_view text, int n);
std::string TextMid(std::string_view text, int start, int n);

// `count` absent replaces every occurrence. The result stops growing at
// `maxLength` bytes and is cut there.
std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement,
                        int start, std::optional<int> count, bool caseSensitive,
                        std::size_t maxLength = std::string::npos);

// `text` cut to at most `maxBytes`, never inside a two-byte character.
std::string_view TextCutAt(std::string_view text, std::size_t maxBytes);

enum class TrimMode { Leading, Trailing, BothEnds, All };
// Spaces are the ASCII space and the full-width space A1 A1.
std::string TrimSpaces(std::string_view text, TrimMode mode = TrimMode::BothEnds);

std::string ToLowerAscii(std::string_view text);

// `maxPieces` absent means no limit.
TextList SplitText(std::string_view text, std::string_view separator = ",",
                   std::optional<int> maxPieces = std::nullopt);

// --- marker operations ---

struct ExtractOptions {
    bool ignoreCase = false;
    int maxLength = 0;  // 0: no limit; pieces of this length or longer are skipped
    std::string prefix;
    std::string suffix;
    bool includeStartMarker = false;
    bool includeEndMarker = false;
    int start = 1;
};

TextList ExtractAllBetween(std::string_view text, std::string_view startMarker,
                           std::string_view endMarker, const ExtractOptions& options = {});

std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, int start = 1, bool ignoreCase = false);

std::string TextBefore(std::string_view text, std::string_view marker, int start = 1,
                       bool ignoreCase = false);

std::string TextAfterLast(std::string_view text, std::string_view marker,
                          std::optional<int> start = std::nullopt, bool ignoreCase = false);

struct ReplacePair {
    std::string_view find;
    std::string_view replacement;
};

// Up to five pairs, applied in turn. ASCII case is ignored unless asked otherwise.
std::string ReplacePairs(std::string_view text, std::initializer_list<ReplacePair> pairs,
                         std::optional<int> count = std::nullopt, int start = 1,
                         bool caseSensitive = false);

std::string UrlEncode(std::string_view text, bool keepUnreserved = false, bool asUtf8 = false);

// Whether `text` begins with `prefix`, ASCII letters compared without case.
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

// `text` without the run of `c` at its end.
std::string_view WithoutTrailing(std::string_view text, char c);

// The bytes of a page up to, not including, its first zero byte.
std::string_view TextUpToZero(std::string_view bytes);

}  // namespace sirelo
