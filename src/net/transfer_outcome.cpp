#include "net/transfer_outcome.h"

namespace sirelo {

const char* OutcomeWord(const TransferOutcome& outcome) {
    switch (outcome.end) {
        case TransferEnd::Answered:
            return "ok";
        case TransferEnd::HostNotFound:
            return "dns";
        case TransferEnd::Refused:
            return "refused";
        case TransferEnd::TimedOut:
            return "timeout";
        case TransferEnd::CertificateRejected:
            return "tls";
        case TransferEnd::Capped:
            return "capped";
        case TransferEnd::Other:
            break;
    }
    return "error";
}

TransferOutcome SetUpFailed() {
    TransferOutcome outcome;
    outcome.words = "the request could not be set up";
    return outcome;
}

}  // namespace sirelo
