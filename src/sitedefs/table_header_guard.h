#pragma once
// Input toml++ 3.3 mishandles, found before the parser sees it.
//
// It enters undefined behaviour on a table header whose name starts
// with a character no key can start with ("[&", "[[=", "[[[": upstream issue
// marzer/tomlplusplus#294), and it recurses once per part of a dotted key,
// so a key of a few hundred thousand parts overflows the stack.

#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

struct ShapeProblem {
    long line = 0;  // 1-based; 0: none
    std::string words;
    std::string wordsZh;
};

// The first table header whose name does not start with a letter, digit, "_",
// "-", a quote or "]", key or table name of more than 64 dotted parts, or
// value nested more than 64 deep.
ShapeProblem FindUnparsableShape(std::string_view toml);

// toml++ 3.3's whitespace test reaches a point it assumes unreachable for the
// characters U+00A1 to U+0499 and U+FB26 to U+FEFE (Latin-1 signs, Greek,
// Cyrillic, the CJK small forms); inside quotes they can still be written as
// \uXXXX escapes.
struct RawCharacter {
    long line = 0;
    std::string name;  // "U+FE4F"
};
// Every such character, in file order.
std::vector<RawCharacter> UnreadableCharacters(std::string_view toml);

}  // namespace sirelo
