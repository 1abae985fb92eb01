#pragma once
// Fetching the definitions feed into its cache: both files through the proxy
// and within the transfer bounds, the file with the validators of the last
// answer; a copy is written only once CheckFeed takes it. A failed fetch, a
// bad signature or a refused file leaves the last good copy in force.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/feed_settings.h"
#include "sitedefs/feed_cache.h"
#include "sitedefs/feed_check.h"

namespace sirelo {

inline constexpr std::size_t kFeedFileLimit = 1 << 20;
inline constexpr std::int64_t kFeedCheckInterval = 24 * 60 * 60;

// The cached copy as it is on disk now, checked again.
struct CachedFeed {
    std::optional<FeedState> state;
    // Only a copy fetched from the configured address that still verifies
    // and loads is in force.
    std::optional<CheckedFeed> copy;
    std::string whyNotInForce;  // a copy on disk that is not in force; empty otherwise
};

// Any thread; reads only the files under `paths`.
CachedFeed ReadCachedFeed(const FeedCachePaths& paths, const FeedSettings& settings);

// Whether a check is due at `now`: no copy in force, another address, or the
// last check 24 hours or more ago.
bool FeedCheckDue(const CachedFeed& cached, const FeedSettings& settings, std::int64_t now);

struct FeedUpdate {
    std::string word;     // updated, unchanged, unreachable, bad-signature, refused
    std::string version;  // of the copy in force afterwards; empty when none or unnamed
    std::vector<std::string> details;
    FeedState state;  // as written
};

// Any thread; blocks for up to two transfers. Writes only under `paths`.
FeedUpdate UpdateFeed(const FeedCachePaths& paths, const FeedSettings& settings, std::int64_t now);

}  // namespace sirelo
