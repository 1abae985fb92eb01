#pragma once
// What a response's header block says beyond its status: how long the site
// asked us to wait, and whether an anti-bot service answered in its place.

#include <ctime>
#include <string_view>

namespace sirelo {

struct AnswerHeaders {
    long retryAfterSeconds = -1;  // Retry-After from `now`, as seconds or a date; -1: none
    bool challenge = false;       // cf-mitigated: challenge
};

// `headerBlock` is a response's header lines, CRLF or LF ends; names are
// compared without regard to case. The first line of each name counts.
AnswerHeaders ReadAnswerHeaders(std::string_view headerBlock, std::time_t now);

}  // namespace sirelo
