#pragma once
// Decodes only the top left corner of a poster where the format allows it
// (PNG and GIF that are not interlaced, WebP that is not animated), so that a
// poster of any pixel size costs memory for the corner and about one row.
// Free of state; called on the board loader thread.

#include <cstdint>
#include <string_view>
#include <vector>

namespace sirelo {

enum class CornerOutcome {
    Decoded,
    Broken,        // a PNG, GIF or WebP file that cannot be read: it shows no image
    LeftToReader,  // another format, or one this decoder cannot cut early
};

struct PosterCorner {
    CornerOutcome outcome = CornerOutcome::LeftToReader;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // width * height pixels of 4 bytes, rows top down
};

// At most `width` x `height` of the file's top left corner.
PosterCorner DecodePosterCorner(std::string_view file, int width, int height);

}  // namespace sirelo
