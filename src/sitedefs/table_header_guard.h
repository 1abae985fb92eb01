#pragma once
// toml++ 3.3 enters undefined behaviour on a table header whose name starts
// with a character no key can start with ("[&", "[[=", "[[[": upstream issue
// marzer/tomlplusplus#294). This finds such a header before the parser sees it.

#include <string_view>

namespace sirelo {

// The 1-based line of the first table header whose name does not start with a
// letter, digit, "_", "-", a quote or "]"; 0 when there is none.
long BadTableHeaderLine(std::string_view toml);

}  // namespace sirelo
