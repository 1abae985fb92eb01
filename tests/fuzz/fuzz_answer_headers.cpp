#include <cstdlib>

#include "fuzz_input.h"
#include "net/answer_headers.h"
#include "sites/answer_kind.h"

using namespace sirelo;

// Header blocks and bodies as sites send them, read for a limit or a challenge.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitInput(data, size, 2);
    const AnswerHeaders headers = ReadAnswerHeaders(parts[0], 1700000000);
    if (headers.retryAfterSeconds < -1 || headers.retryAfterSeconds > 366L * 24 * 3600)
        std::abort();
    TransferOutcome transfer;
    transfer.end = TransferEnd::Answered;
    transfer.retryAfterSeconds = headers.retryAfterSeconds;
    transfer.challengeHeader = headers.challenge;
    for (int status : {200, 403, 429, 503}) {
        transfer.httpStatus = status;
        const AnswerKind kind = KindOfAnswer(transfer, parts[1]);
        if (status == 200 && kind == AnswerKind::Limited) std::abort();
    }
    return 0;
}
