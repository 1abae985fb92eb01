#include "net/url_cookies.h"

#include <limits>
#include <utility>

namespace sirelo {

namespace {

constexpr int kWholeRest = std::numeric_limits<int>::max();

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

// Leading blanks, an optional sign, then decimal digits up to the first other
// character; 0 when no digit follows.
int LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int>::max()) return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::string UrlHost(std::string_view url, bool keepPort) {
    std::string lowered = ToLowerAscii(url);
    // The last character, not the last byte: a "/" may be a character's second byte.
    if (FindTextBackward(lowered, "/") != Length(lowered)) lowered += '/';
    std::string host;
    if (TextLeft(lowered, 8) == "https://") {
        host = TextBetween(lowered, "https://", "/");
    } else {
        if (FindText(lowered, "http://") == -1) lowered.insert(0, "http://");
        host = TextBetween(lowered, "http://", "/");
    }
    if (!keepPort) {
        int colon = FindText(host, ":");
        if (colon != -1) host = TextLeft(host, colon - 1);
    }
    return host;
}

int UrlPort(std::string_view url) {
    std::string hostAndPort = UrlHost(url, true);
    int colon = FindTextBackward(hostAndPort, ":");
    if (colon != -1) return LeadingInteger(TextMid(hostAndPort, colon + 1, kWholeRest));
    return TextLeft(ToLowerAscii(url), 5) == "https" ? 443 : 80;
}

std::string UrlPath(std::string_view url) {
    int hostAt = FindText(url, UrlHost(url), 1, true);
    int slash = FindText(url, "/", hostAt);
    if (slash == -1) return "/";
    return TextMid(url, slash, kWholeRest);
}

std::string AgentFromHeaders(std::string_view headers) {
    int colon = FindText(headers, ":");
    if (colon == -1) return {};
    return TrimSpaces(TextMid(headers, colon + 1, kWholeRest));
}

std::string CookieName(std::string_view entry) {
    int equals = FindText(entry, "=");
    return TrimSpaces(equals == -1 ? std::string(entry) : TextLeft(entry, equals - 1));
}

bool HasCookieNamed(const TextList& entries, std::string_view name) {
    for (const std::string& entry : entries) {
        if (CookieName(entry) == name) return true;
    }
    return false;
}

std::string MergeCookies(std::string_view oldCookies, std::string_view newCookies) {
    TextList merged = SplitText(TrimSpaces(newCookies, TrimMode::All), ";");
    for (const std::string& entry : SplitText(TrimSpaces(oldCookies, TrimMode::All), ";")) {
        if (!HasCookieNamed(merged, CookieName(entry))) merged.push_back(entry);
    }
    std::string joined;
    for (const std::string& entry : merged) {
        if (TextRight(entry, 8) == "=deleted") continue;
        joined += entry;
        joined += "; ";
    }
    return RemoveDuplicates(TextLeft(joined, Length(joined) - 2), "; ");
}

std::string RemoveDuplicates(std::string_view text, std::string_view separator) {
    TextList seen;
    std::string result;
    for (std::string& piece : SplitText(text, separator)) {
        if (IndexOfText(seen, piece) != -1) continue;
        result += piece;
        result += separator;
        seen.push_back(std::move(piece));
    }
    return TextLeft(result, Length(result) - Length(separator));
}

int IndexOfText(const TextList& list, std::string_view text) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == text) return static_cast<int>(i) + 1;
    }
    return -1;
}

}  // namespace sirelo
