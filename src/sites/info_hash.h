#pragma once
// The torrent a magnet link names: the 20 bytes of its `xt=urn:btih:`
// parameter, written as 40 hexadecimal digits (either case) or as 32 base32
// characters. Two links name the same torrent when these bytes are equal,
// whatever else the links say (display names, trackers, the case of the hash).

#include <array>
#include <optional>
#include <string_view>

namespace sirelo {

using InfoHash = std::array<unsigned char, 20>;

// The first btih parameter's bytes; nothing when the link has none or its
// value is neither form.
std::optional<InfoHash> InfoHashOf(std::string_view magnetLink);

struct InfoHashHasher {
    std::size_t operator()(const InfoHash& hash) const {
        // The bytes are already a hash: the first eight of them will do.
        std::size_t value = 0;
        for (std::size_t i = 0; i < sizeof value; ++i)
            value = (value << 8) | hash[i];
        return value;
    }
};

}  // namespace sirelo
