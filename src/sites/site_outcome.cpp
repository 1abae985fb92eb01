#include "sites/site_outcome.h"

#include <algorithm>

namespace sirelo {

SiteVerdict Verdict(const PageOutcome& outcome) {
    if (outcome.answer == AnswerKind::Limited) return SiteVerdict::Limited;
    if (outcome.answer == AnswerKind::Challenge) return SiteVerdict::Challenge;
    if (outcome.matchesCut) return SiteVerdict::Layout;
    if (outcome.itemsCut > 0) return SiteVerdict::Ok;
    switch (outcome.transfer.end) {
        case TransferEnd::Answered:
            break;
        case TransferEnd::HostNotFound:
            return SiteVerdict::Dns;
        case TransferEnd::Refused:
            return SiteVerdict::Refused;
        case TransferEnd::TimedOut:
            return SiteVerdict::Timeout;
        case TransferEnd::CertificateRejected:
            return SiteVerdict::Tls;
        case TransferEnd::Capped:
            return SiteVerdict::Capped;
        case TransferEnd::Other:
            return SiteVerdict::Error;
    }
    if (outcome.saysNoResults) return SiteVerdict::Empty;
    if (outcome.transfer.httpStatus >= 400) return SiteVerdict::Error;
    return SiteVerdict::Layout;
}

const char* VerdictWord(SiteVerdict verdict) {
    constexpr const char* kWords[] = {"ok",  "empty",  "layout", "dns",     "refused",  "timeout",
                                      "tls", "capped", "error",  "limited", "challenge"};
    return kWords[static_cast<int>(verdict)];
}

void SiteOutcomes::add(const PageOutcome& outcome) {
    ++requests;
    rowsAdded += outcome.rowsAdded;
    itemsBeyondBound += outcome.itemsBeyondBound;
    rowsBeyondBound += outcome.rowsBeyondBound;
    proxyIgnored = proxyIgnored || outcome.transfer.proxyIgnored;
    if (Verdict(outcome) == SiteVerdict::Ok) {
        const auto place =
            std::lower_bound(answeredPages.begin(), answeredPages.end(), outcome.page);
        if (place == answeredPages.end() || *place != outcome.page)
            answeredPages.insert(place, outcome.page);
    } else if (!firstFailure || outcome.page < firstFailure->page) {
        firstFailure = outcome;
    }
    latest = outcome;
}

void RunOutcomes::clear() {
    std::lock_guard hold(mutex_);
    outcomes_ = {};
}

void RunOutcomes::recordMagnet(int siteIndex, const PageOutcome& outcome) {
    if (siteIndex < 0 || siteIndex >= kMaxMagnetSites) return;
    std::lock_guard hold(mutex_);
    outcomes_.magnet[siteIndex].add(outcome);
}

void RunOutcomes::recordOnline(int siteIndex, const PageOutcome& outcome) {
    if (siteIndex < 0 || siteIndex >= kMaxOnlineSites) return;
    std::lock_guard hold(mutex_);
    outcomes_.online[siteIndex].add(outcome);
}

RunOutcomeSnapshot RunOutcomes::snapshot() const {
    std::lock_guard hold(mutex_);
    return outcomes_;
}

}  // namespace sirelo
