#pragma once
// Splits a fuzzer's input into a few texts at 0xFF 0x00 pairs, so one input
// drives an operation with a text and its markers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sirelo::fuzz {

inline std::vector<std::string> SplitInput(const std::uint8_t* data, std::size_t size,
                                           std::size_t parts) {
    std::vector<std::string> out(parts);
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < parts; ++i) {
        const std::size_t cut =
            (i + 1 < parts) ? rest.find(std::string_view("\xFF\0", 2)) : rest.npos;
        out[i] = std::string(rest.substr(0, cut));
        rest = cut == rest.npos ? std::string_view() : rest.substr(cut + 2);
    }
    return out;
}

// Texts never hold zero bytes.
inline std::string WithoutZeros(std::string s) {
    for (char& c : s) {
        if (c == '\0') c = '0';
    }
    return s;
}

}  // namespace sirelo::fuzz
