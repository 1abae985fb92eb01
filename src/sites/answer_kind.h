#pragma once
// Whether an answer is the site's page at all: a site that asks us to wait,
// or an anti-bot service's challenge in its place, stops the site for the run.

#include <string_view>

#include "net/transfer_outcome.h"

namespace sirelo {

enum class AnswerKind {
    Page,       // whatever the site's page holds, the workers cut it
    Limited,    // 429, or 503 with Retry-After
    Challenge,  // "cf-mitigated: challenge", or a challenge page with 403, 429 or 503
};

AnswerKind KindOfAnswer(const TransferOutcome& transfer, std::string_view body);

}  // namespace sirelo
