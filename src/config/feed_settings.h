#pragma once
// The definitions feed's two keys in section [站点] of Configuration.ini:
// 订阅地址, the address of a definitions file, and 订阅公钥, the minisign public
// key (the base64 line of its key file) that must have signed it. Without
// both there is no feed. Read at start-up; written only by sirelo-sitecheck.

#include <optional>
#include <string>

namespace sirelo {

class AppConfig;

struct FeedSettings {
    std::string address;    // http:// or https://
    std::string publicKey;  // base64
};

// Both keys as the file writes them; nothing when either is missing or empty.
std::optional<FeedSettings> ReadFeedSettings(AppConfig& config);

// What is wrong with an address for a feed: empty when it is an http:// or
// https:// address of printable ASCII without a user part, at most 2 KiB.
std::string FeedAddressProblem(const std::string& address);

// Through the settings writer, one key at a time. False when a write failed.
bool WriteFeedSettings(AppConfig& config, const FeedSettings& settings);
bool RemoveFeedSettings(AppConfig& config);

}  // namespace sirelo
