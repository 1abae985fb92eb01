#include <cstdlib>
#include <string_view>

#include "board/poster_corner.h"

using namespace sirelo;

// A poster as a site could send it; the first byte picks the corner's size.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int width = 1 + data[0] % 16;
    const int height = 1 + data[0] / 16;
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    const PosterCorner corner = DecodePosterCorner(file, width, height);
    if (corner.outcome == CornerOutcome::Decoded &&
        (corner.width < 1 || corner.width > width || corner.height < 1 || corner.height > height ||
         corner.rgba.size() != static_cast<std::size_t>(corner.width) * corner.height * 4))
        std::abort();
    if (corner.outcome != CornerOutcome::Decoded && !corner.rgba.empty()) std::abort();
    return 0;
}
