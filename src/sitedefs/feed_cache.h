#pragma once
// The cached copy of the definitions feed in <configuration folder>/feed/: the
// file, its signature and the state of the last check. Every file is written
// atomically (ReplaceFile); the copy is verified again whenever it is read,
// so the cache itself is never trusted.

#include <cstdint>
#include <optional>
#include <string>

namespace sirelo {

class AppConfig;

struct FeedCachePaths {
    std::string folder;
    std::string file;       // sites.toml
    std::string signature;  // sites.toml.minisig
    std::string state;      // state
};

// Creates the configuration folder when it is missing, not the feed folder.
FeedCachePaths FeedCacheIn(AppConfig& config);

struct FeedState {
    std::string address;  // the feed the copy and the validators came from
    std::string etag;     // of the copy in force
    std::string lastModified;
    std::int64_t checkedAt = 0;  // seconds since the epoch; 0: never
    std::string result;          // updated, unchanged, unreachable, bad-signature, refused
    std::string details;         // one line, UTF-8
    std::string version;         // of the copy in force, as its [feed] says
};

// Nothing when there is no readable state.
std::optional<FeedState> ReadFeedState(const FeedCachePaths& paths);
bool WriteFeedState(const FeedCachePaths& paths, const FeedState& state);

// The file and then its signature, each atomically; false when either failed.
// A crash between the two leaves a pair that does not verify, never a wrong one.
bool WriteFeedCopy(const FeedCachePaths& paths, const std::string& file,
                   const std::string& signature);

}  // namespace sirelo
