#include <cstdlib>

#include "fuzz_input.h"
#include "text/text.h"

using namespace sirelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitInput(data, size, 3);
    const std::string text = fuzz::WithoutZeros(parts[0]);
    const std::string open = fuzz::WithoutZeros(parts[1]);
    const std::string close = fuzz::WithoutZeros(parts[2]);
    const int start = size > 0 ? static_cast<int>(data[0] % 8) - 2 : 1;

    for (const std::string& piece : ExtractAllBetween(text, open, close)) {
        if (piece.size() > text.size()) std::abort();
    }
    if (TextBetween(text, open, close, start).size() > text.size()) std::abort();
    if (TextBefore(text, open, start, true).size() > text.size()) std::abort();
    if (TextAfterLast(text, open, start).size() > text.size()) std::abort();
    const int at = FindText(text, open, start, true);
    if (at != -1 && (at < 1 || static_cast<std::size_t>(at) > text.size() + 1)) std::abort();
    const int back = FindTextBackward(text, open, start);
    if (back != -1 && (back < 1 || static_cast<std::size_t>(back) > text.size())) std::abort();
    TrimSpaces(text, static_cast<TrimMode>(size % 4));
    ToLowerAscii(text);
    TextMid(text, start, static_cast<int>(size % 16));
    return 0;
}
