#include "sites/site_gate.h"

namespace sirelo {

bool SiteGate::enter() {
    if (!pacing_.paced()) return true;
    std::unique_lock hold(mutex_);
    const std::uint64_t ticket = nextTicket_++;
    while (!closed_) {
        const bool room = pacing_.maxInFlight == 0 || inFlight_ < pacing_.maxInFlight;
        if (ticket != serving_ || !room) {
            changed_.wait(hold);
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now < nextStart_) {
            changed_.wait_until(hold, nextStart_);
            continue;
        }
        ++serving_;
        ++inFlight_;
        nextStart_ = now + std::chrono::milliseconds(pacing_.delayMs);
        changed_.notify_all();
        return true;
    }
    return false;
}

void SiteGate::leave() {
    if (!pacing_.paced()) return;
    std::lock_guard hold(mutex_);
    --inFlight_;
    changed_.notify_all();
}

void SiteGate::close() {
    std::lock_guard hold(mutex_);
    closed_ = true;
    changed_.notify_all();
}

}  // namespace sirelo
