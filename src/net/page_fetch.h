#pragma once
#include <string_view>

#include "net/bytes.h"

namespace sirelo {

// A plain GET of `url`: the whole body whatever the status, an empty buffer when
// nothing could be fetched. Safe from any number of threads at once.
Bytes PageFetch(std::string_view url);

}  // namespace sirelo
