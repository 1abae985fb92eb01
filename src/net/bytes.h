#pragma once
#include <string>

namespace sirelo {

// A length-counted byte buffer as a request returns it; it may hold zero bytes.
using Bytes = std::string;

}  // namespace sirelo
