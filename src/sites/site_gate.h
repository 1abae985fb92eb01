#pragma once
// Per-site pacing within one run: the least time between the starts of two
// requests to the site, and the most requests to it at once, as the site's
// definition asks. Requests take their turns in the order they asked.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "sitedefs/site_definitions.h"

namespace sirelo {

class SiteGate {
  public:
    explicit SiteGate(SitePacing pacing = {}) : pacing_(pacing) {}
    SiteGate(const SiteGate&) = delete;
    SiteGate& operator=(const SiteGate&) = delete;

    // Worker threads: waits for the request's turn; false when close() ended
    // the wait, and the request is not to be made. A gate without pacing never waits.
    bool enter();
    // Worker threads: the request that entered has ended.
    void leave();
    // Any thread: every wait, now and later, ends at once.
    void close();

  private:
    const SitePacing pacing_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t serving_ = 0;
    int inFlight_ = 0;
    std::chrono::steady_clock::time_point nextStart_{};
    bool closed_ = false;
};

// One request's turn at its site's gate, given back when it goes out of scope.
class SiteTurn {
  public:
    explicit SiteTurn(SiteGate& gate) : gate_(gate), entered_(gate.enter()) {}
    ~SiteTurn() {
        if (entered_) gate_.leave();
    }
    SiteTurn(const SiteTurn&) = delete;
    SiteTurn& operator=(const SiteTurn&) = delete;
    explicit operator bool() const { return entered_; }

  private:
    SiteGate& gate_;
    bool entered_;
};

}  // namespace sirelo
