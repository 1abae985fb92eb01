#pragma once
// Conversions between GBK (the Windows code page 936: glibc's "CP936" with the
// user-defined areas on the Private Use Area, as Windows maps them)
// and UTF-8 / UTF-16. A character that GBK lacks becomes one "?"; a byte
// sequence that is invalid in the source becomes one "?" per bad byte (U+FFFD
// on the way to UTF-16 or UTF-8), and conversion always goes on to the end.

#include <string>
#include <string_view>

namespace sirelo {

enum class CodePage { Gbk = 936, Utf8 = 65001 };

std::u16string ToUtf16(std::string_view text, CodePage from);
std::string FromUtf16(std::u16string_view text, CodePage to);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// A GBK constant written in the source as UTF-8: Gbk("上映时间：").
std::string Gbk(std::string_view utf8);

// One Unicode character in GBK, as Utf8ToGbk makes it: "?" when GBK lacks it.
std::string GbkCharacter(char32_t code);

// How many bytes at the start of `text` are well-formed UTF-8.
std::size_t ValidUtf8Length(std::string_view text);

// A page as the sites send it (UTF-8 bytes, perhaps with a zero byte) as a GBK text.
std::string PageText(std::string_view bytes);

}  // namespace sirelo
