#pragma once
// How one transfer ended, reported beside its body. Callers of the plain
// routines never see it; workers that record outcomes ask for it.

#include <cstddef>
#include <string>

#include "net/bytes.h"

namespace sirelo {

enum class TransferEnd {
    Answered,             // an HTTP response arrived; its status is in `httpStatus`
    HostNotFound,         // the name did not resolve (the site's or the proxy's)
    Refused,              // nobody took the connection
    TimedOut,             // connect time-out, stall, low speed or the overall deadline
    CertificateRejected,  // the site's certificate did not verify
    Capped,               // cut at the per-page cap or for want of byte budget
    Other,                // anything else; `words` holds libcurl's
};

struct TransferOutcome {
    TransferEnd end = TransferEnd::Other;
    int httpStatus = 0;  // the last response's status, 0 when none arrived
    std::size_t bytesReceived = 0;
    bool cut = false;             // the body is shorter than what the site sent or meant to send
    bool proxyIgnored = false;    // the configured proxy was not a valid one; went direct
    std::string words;            // libcurl's (or our) words for a failure, empty on success
    long retryAfterSeconds = -1;  // the answer's Retry-After, in seconds from its arrival; -1: none
    bool challengeHeader = false;  // the answer came with "cf-mitigated: challenge"
};

// `ok`, `dns`, `refused`, `timeout`, `tls`, `capped` or `error`: an answer with
// any status is `ok` here; sites tell a page without results from a broken one.
const char* OutcomeWord(const TransferOutcome& outcome);

// The outcome of a transfer that never started: no handle, or an address
// that is not http or https.
TransferOutcome SetUpFailed();

struct FetchResult {
    Bytes body;
    TransferOutcome outcome;
};

}  // namespace sirelo
