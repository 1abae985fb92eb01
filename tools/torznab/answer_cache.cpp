#include "answer_cache.h"

#include <algorithm>
#include <utility>

namespace sirelo::torznab {
namespace {

std::string KeyOf(const std::string& site, const std::string& keyword) {
    return site + '\0' + keyword;
}

}  // namespace

AnswerCache::AnswerCache(std::chrono::seconds keep, std::size_t maxAnswers)
    : keep_(keep), maxAnswers_(maxAnswers) {}

AnswerCache::Claim AnswerCache::claim(const std::string& site, const std::string& keyword) {
    const Clock::time_point now = Clock::now();
    std::lock_guard hold(mutex_);
    const std::string key = KeyOf(site, keyword);
    if (auto found = entries_.find(key); found != entries_.end()) {
        const Entry& entry = found->second;
        if (!entry.settled || now - entry.madeAt < keep_) return {entry.answer, nullptr};
        entries_.erase(found);
    }
    dropOld(now);
    Claim claim;
    claim.promise = std::make_shared<std::promise<std::shared_ptr<const SiteAnswer>>>();
    claim.answer = claim.promise->get_future().share();
    entries_[key] = {claim.answer, false, now};
    return claim;
}

void AnswerCache::settle(const std::string& site, const std::string& keyword, const Claim& claim,
                         std::shared_ptr<const SiteAnswer> answer) {
    const bool keep = answer->finished;
    claim.promise->set_value(std::move(answer));
    std::lock_guard hold(mutex_);
    auto found = entries_.find(KeyOf(site, keyword));
    if (found == entries_.end()) return;
    if (keep) {
        found->second.settled = true;
        found->second.madeAt = Clock::now();
    } else {
        entries_.erase(found);
    }
}

// Under the lock: expired answers go, then the oldest kept ones until there is room.
void AnswerCache::dropOld(Clock::time_point now) {
    std::erase_if(entries_, [&](const auto& entry) {
        return entry.second.settled && now - entry.second.madeAt >= keep_;
    });
    while (entries_.size() >= maxAnswers_) {
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.settled &&
                (oldest == entries_.end() || it->second.madeAt < oldest->second.madeAt))
                oldest = it;
        }
        if (oldest == entries_.end()) break;
        entries_.erase(oldest);
    }
}

}  // namespace sirelo::torznab
