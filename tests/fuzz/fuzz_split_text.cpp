#include <cstdlib>

#include "fuzz_input.h"
#include "text/text.h"

using namespace sirelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto p = fuzz::SplitInput(data, size, 2);
    const std::string text = fuzz::WithoutZeros(p[0]);
    const std::optional<int> maximum =
        size % 4 == 0 ? std::nullopt : std::optional<int>(static_cast<int>(size % 7) - 1);
    std::size_t total = 0;
    for (const std::string& piece : SplitText(text, p[1], maximum))
        total += piece.size();
    if (total > text.size()) std::abort();
    return 0;
}
