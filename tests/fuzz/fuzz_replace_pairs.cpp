#include "fuzz_input.h"
#include "text/text.h"

using namespace sirelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto p = fuzz::SplitInput(data, size, 5);
    const std::string text = fuzz::WithoutZeros(p[0]);
    const std::optional<int> count =
        size % 3 == 0 ? std::nullopt : std::optional<int>(static_cast<int>(size % 5));
    const int start = size > 0 ? static_cast<int>(data[size - 1] % 6) : 1;
    ReplacePairs(text, {{p[1], p[2]}, {p[3], p[4]}}, count, start, size % 2 == 0);
    ReplaceText(text, p[1], p[2], start, count, true);
    return 0;
}
