#include "sitedefs/table_header_guard.h"

#include <cstddef>
#include <cstdio>
#include <string>

namespace sirelo {
namespace {

// The parser recurses once per dotted part and per nesting level; far below
// where its stack would run out, and far above what any site needs.
constexpr int kMaxKeyParts = 64;
constexpr int kMaxNesting = 64;

bool IsKeyCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool CanStartKey(char c) {
    return IsKeyCharacter(c) || c == '"' || c == '\'' || c == ']';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether the header that opens at `at` ("[" at the start of a line, outside
// any value) names a key the parser can start on.
bool HeaderStartsWell(std::string_view text, std::size_t at) {
    std::size_t i = at + 1;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && text[i] == '[') {
        if (i != at + 1) return true;  // "[ [": the parser reports it itself
        ++i;
        while (i < text.size() && IsBlank(text[i]))
            ++i;
    }
    return i >= text.size() || CanStartKey(text[i]);
}

// The end of the string that opens at `at` with `quote` (one or three of them).
std::size_t StringEnd(std::string_view text, std::size_t at, char quote) {
    const bool multiline = text.substr(at, 3) == std::string(3, quote);
    const std::string_view close = multiline ? text.substr(at, 3) : text.substr(at, 1);
    for (std::size_t i = at + close.size(); i < text.size(); ++i) {
        if (quote == '"' && text[i] == '\\') {
            ++i;
        } else if (!multiline && text[i] == '\n') {
            return i;
        } else if (text.substr(i, close.size()) == close) {
            return i + close.size();
        }
    }
    return text.size();
}

}  // namespace

ShapeProblem FindUnparsableShape(std::string_view text) {
    long line = 1;
    int depth = 0;    // open brackets and braces of values
    int keyDots = 0;  // dots outside quotes in the key (or value) being read
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = true;
            keyDots = 0;
            continue;
        }
        if (IsBlank(c) || c == '\r') continue;
        const bool header = lineStart && depth == 0 && c == '[';
        lineStart = false;
        if (header) {
            if (!HeaderStartsWell(text, i)) {
                return {line, "a table name starts with a letter, a digit, _, - or a quote",
                        "表名须以字母、数字、_、- 或引号开头"};
            }
            if (i + 1 < text.size() && text[i + 1] == '[') ++i;
        } else if (c == '#') {
            while (i + 1 < text.size() && text[i + 1] != '\n')
                ++i;
        } else if (c == '"' || c == '\'') {
            const std::size_t end = StringEnd(text, i, c);
            for (std::size_t j = i; j < end; ++j)
                line += text[j] == '\n';
            i = end - 1;
        } else if (c == '.') {
            if (++keyDots >= kMaxKeyParts) {
                const std::string most = std::to_string(kMaxKeyParts);
                return {line, "a key or table name of more than " + most + " dotted parts",
                        "键名或表名超过 " + most + " 段"};
            }
        } else if (IsKeyCharacter(c)) {
            // part of a dotted key, or of a number
        } else {
            keyDots = 0;
            if (c == '[' || c == '{') {
                if (++depth > kMaxNesting) {
                    const std::string most = std::to_string(kMaxNesting);
                    return {line, "values nested more than " + most + " deep",
                            "值嵌套超过 " + most + " 层"};
                }
            } else if ((c == ']' || c == '}') && depth > 0) {
                --depth;
            }
        }
    }
    return {};
}

std::vector<RawCharacter> UnreadableCharacters(std::string_view text) {
    std::vector<RawCharacter> found;
    long line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        if (text[i] == '\n') ++line;
        unsigned code = 0;
        if ((byte(i) & 0xE0) == 0xC0 && i + 1 < text.size()) {
            code = ((byte(i) & 0x1Fu) << 6) | (byte(i + 1) & 0x3Fu);
        } else if ((byte(i) & 0xF0) == 0xE0 && i + 2 < text.size()) {
            code = ((byte(i) & 0x0Fu) << 12) | ((byte(i + 1) & 0x3Fu) << 6) | (byte(i + 2) & 0x3Fu);
        }
        if ((code >= 0xA1 && code <= 0x499) || (code >= 0xFB26 && code <= 0xFEFE)) {
            char name[8];
            std::snprintf(name, sizeof name, "U+%04X", code);
            found.push_back({line, name});
        }
    }
    return found;
}

}  // namespace sirelo
