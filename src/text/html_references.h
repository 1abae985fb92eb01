#pragma once
// HTML character references in a GBK text turned into the characters they
// stand for: sites write "&amp;" where the name holds "&".

#include <string>
#include <string_view>

namespace sirelo {

// `gbk` with the references &amp; &lt; &gt; &quot; &apos; &nbsp;, &#NNN; and
// &#xHHH; replaced by their characters in GBK; a character GBK lacks becomes
// what Utf8ToGbk makes of it. An unknown or malformed reference (no ";", no
// digits, zero, a surrogate or beyond U+10FFFF) stays as it is. The result is
// never longer than `gbk`.
std::string UnescapeHtml(std::string_view gbk);

}  // namespace sirelo
