#pragma once
#include <string_view>

#include "net/bytes.h"
#include "net/transfer_outcome.h"

namespace sirelo {

// A plain GET of `url`: the whole body whatever the status, an empty buffer when
// nothing could be fetched. Safe from any number of threads at once.
Bytes PageFetch(std::string_view url);

// The same fetch, with how it ended beside the body.
FetchResult PageFetchWithOutcome(std::string_view url);

}  // namespace sirelo
