#pragma once
// The one line on the definitions feed that opens the tooltip of status pane 0.

#include <cstdint>
#include <optional>
#include <string>

#include "sitedefs/feed_cache.h"

namespace sirelo {

struct FeedLineFacts {
    bool copyInForce = false;        // since start-up
    std::string versionInForce;      // of that copy
    std::optional<FeedState> state;  // of the last check
    bool checkedThisRun = false;     // the state comes from a check while the program runs
};

// GBK. `now` in seconds since the epoch, for "今天".
std::string FeedStateLine(const FeedLineFacts& facts, std::int64_t now);

}  // namespace sirelo
