#pragma once
// A GET that asks only for what changed: it sends the validators of the last
// answer (If-None-Match, If-Modified-Since), so an unchanged file costs a 304,
// and returns the new ones. Within the transfer bounds and through the proxy
// like every transfer, with a body cap of the caller's.

#include <cstddef>
#include <string>

#include "net/bytes.h"
#include "net/transfer_outcome.h"

namespace sirelo {

struct ConditionalGet {
    std::string url;           // http:// or https://
    std::string etag;          // sent as If-None-Match unless empty
    std::string lastModified;  // sent as If-Modified-Since unless empty
    std::size_t maxBytes = 0;  // a longer body is cut and `tooLarge`
};

struct ConditionalAnswer {
    TransferOutcome outcome;  // httpStatus 304: unchanged
    Bytes body;
    bool tooLarge = false;
    std::string etag;  // of this answer, empty when it gave none
    std::string lastModified;
};

// Blocking; any thread.
ConditionalAnswer FetchIfChanged(const ConditionalGet& request);

// The value of the first header `name` (any case) in a header block, blanks
// around it removed; empty when there is none.
std::string HeaderValue(std::string_view headerBlock, std::string_view name);

}  // namespace sirelo
