#pragma once
// What each site answered for a name, kept for a while, so that a client that
// asks again, or twenty clients that ask at once, cost the site one search.
// Every member may be called on any thread.

#include <chrono>
#include <cstddef>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sites/site_search.h"

namespace sirelo::torznab {

struct SiteAnswer {
    std::vector<FoundRow> rows;
    bool finished = false;  // false: the time limit cut the site off
};

using SharedAnswer = std::shared_future<std::shared_ptr<const SiteAnswer>>;

class AnswerCache {
  public:
    using Clock = std::chrono::steady_clock;

    // A kept answer, or one being made, is shared; otherwise the caller gets
    // the promise and must settle it.
    struct Claim {
        SharedAnswer answer;
        std::shared_ptr<std::promise<std::shared_ptr<const SiteAnswer>>> promise;
    };

    AnswerCache(std::chrono::seconds keep, std::size_t maxAnswers);

    Claim claim(const std::string& site, const std::string& keyword);
    // Fulfils the claim; an unfinished answer is handed to those waiting but not kept.
    void settle(const std::string& site, const std::string& keyword, const Claim& claim,
                std::shared_ptr<const SiteAnswer> answer);

  private:
    struct Entry {
        SharedAnswer answer;
        bool settled = false;
        Clock::time_point madeAt;
    };

    void dropOld(Clock::time_point now);

    const std::chrono::seconds keep_;
    const std::size_t maxAnswers_;
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;  // by site, then keyword
};

}  // namespace sirelo::torznab
