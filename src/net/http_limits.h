#pragma once
// Bounds on every transfer, so that a dead or hostile site can neither hang a
// worker nor fill memory. Tests lower them; the program keeps the defaults.

#include <cstddef>

namespace sirelo {

struct HttpLimits {
    long connectTimeoutMs = 60'000;
    long stallTimeoutMs = 60'000;  // no byte for this long ends the transfer, keeping what arrived
    std::size_t maxBodyBytes = 64u << 20;  // the body is cut here
    long maxRedirects = 20;
};

HttpLimits CurrentHttpLimits();
void SetHttpLimits(const HttpLimits& limits);

}  // namespace sirelo
