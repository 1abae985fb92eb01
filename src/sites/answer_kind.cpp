#include "sites/answer_kind.h"

namespace sirelo {
namespace {

// What the pages of the common anti-bot services carry.
bool LooksLikeChallenge(std::string_view body) {
    return body.find("challenge-platform") != std::string_view::npos ||
           body.find("<title>Just a moment...</title>") != std::string_view::npos;
}

}  // namespace

AnswerKind KindOfAnswer(const TransferOutcome& transfer, std::string_view body) {
    if (transfer.httpStatus == 0) return AnswerKind::Page;
    if (transfer.challengeHeader) return AnswerKind::Challenge;
    const int status = transfer.httpStatus;
    if ((status == 403 || status == 429 || status == 503) && LooksLikeChallenge(body))
        return AnswerKind::Challenge;
    if (status == 429 || (status == 503 && transfer.retryAfterSeconds >= 0))
        return AnswerKind::Limited;
    return AnswerKind::Page;
}

}  // namespace sirelo
