#pragma once
// Reading and editing the text of a private-profile INI file, the way the
// platform's profile functions treat it. Names and values are GBK texts;
// section and key names compare without regard to ASCII case.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

// The reader's buffer: a value arrives cut to one byte less than this.
inline constexpr std::size_t kProfileValueBuffer = 10240;

struct ProfileLine {
    std::size_t begin;       // first byte of the line
    std::size_t contentEnd;  // first byte of its line break
    std::size_t end;         // first byte of the next line
};

// A file's text cut into lines once, so that reading many keys does not cut it
// again for each. A UTF-8 byte-order mark before the first line is skipped.
// It views `text`, which must outlive it.
struct ProfileLines {
    std::string_view text;
    std::vector<ProfileLine> lines;
};

ProfileLines SplitProfileLines(std::string_view fileText);

// The value of `key` in `section`, blanks and one pair of surrounding quotes
// stripped, cut to kProfileValueBuffer - 1 bytes; empty when either is missing.
std::string ReadProfileValue(const ProfileLines& profile, std::string_view section,
                             std::string_view key);
std::string ReadProfileValue(std::string_view fileText, std::string_view section,
                             std::string_view key);

// `fileText` with `key`=`value` in `section`: an existing key's line is
// replaced, a new key goes after the last non-blank line of its section, a
// missing section is appended at the end. Every other byte stays as it was.
std::string WithProfileValue(std::string_view fileText, std::string_view section,
                             std::string_view key, std::string_view value);

// `fileText` without the line of `key` in `section`, as the platform's writer
// removes a key given no value; the same text when there is no such key.
std::string WithoutProfileKey(std::string_view fileText, std::string_view section,
                              std::string_view key);

}  // namespace sirelo
