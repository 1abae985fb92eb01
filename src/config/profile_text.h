#pragma once
// Reading and editing the text of a private-profile INI file, the way the
// platform's profile functions treat it. Names and values are GBK texts;
// section and key names compare without regard to ASCII case.

#include <cstddef>
#include <string>
#include <string_view>

namespace sirelo {

// The reader's buffer: a value arrives cut to one byte less than this.
inline constexpr std::size_t kProfileValueBuffer = 10240;

// The value of `key` in `section`, blanks and one pair of surrounding quotes
// stripped, cut to kProfileValueBuffer - 1 bytes; empty when either is missing.
std::string ReadProfileValue(std::string_view fileText, std::string_view section,
                             std::string_view key);

// `fileText` with `key`=`value` in `section`: an existing key's line is
// replaced, a new key goes after the last non-blank line of its section, a
// missing section is appended at the end. Every other byte stays as it was.
std::string WithProfileValue(std::string_view fileText, std::string_view section,
                             std::string_view key, std::string_view value);

}  // namespace sirelo
