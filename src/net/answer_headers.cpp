#include "net/answer_headers.h"

#include <curl/curl.h>

#include <algorithm>
#include <string>

namespace sirelo {
namespace {

// Further than any site means; keeps the figure a plain number.
constexpr long kLongestWaitSeconds = 366L * 24 * 3600;

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Delta-seconds or an HTTP date; -1 for anything else.
long RetryAfterSeconds(std::string_view value, std::time_t now) {
    if (value.empty()) return -1;
    if (std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        long seconds = 0;
        for (char c : value) {
            seconds = std::min(kLongestWaitSeconds, seconds * 10 + (c - '0'));
        }
        return seconds;
    }
    if (value.size() > 64) return -1;  // no date is that long
    const std::time_t when = curl_getdate(std::string(value).c_str(), nullptr);
    if (when == -1) return -1;
    return std::clamp<long>(static_cast<long>(when - now), 0, kLongestWaitSeconds);
}

}  // namespace

AnswerHeaders ReadAnswerHeaders(std::string_view headerBlock, std::time_t now) {
    AnswerHeaders answer;
    bool retryAfterSeen = false;
    bool mitigatedSeen = false;
    while (!headerBlock.empty()) {
        const std::size_t end = headerBlock.find('\n');
        const std::string_view line = headerBlock.substr(0, end);
        headerBlock.remove_prefix(end == std::string_view::npos ? headerBlock.size() : end + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = Trimmed(line.substr(colon + 1));
        if (!retryAfterSeen && SameName(name, "Retry-After")) {
            retryAfterSeen = true;
            answer.retryAfterSeconds = RetryAfterSeconds(value, now);
        } else if (!mitigatedSeen && SameName(name, "cf-mitigated")) {
            mitigatedSeen = true;
            answer.challenge = SameName(value, "challenge");
        }
    }
    return answer;
}

}  // namespace sirelo
