#include <cstdlib>

#include "text/codepage.h"

using namespace sirelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view gbk(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = GbkToUtf8(gbk);
    // Whatever came in, what goes out is valid UTF-8: it decodes and encodes unchanged.
    if (FromUtf16(ToUtf16(utf8, CodePage::Utf8), CodePage::Utf8) != utf8) std::abort();
    if (ToUtf16(gbk, CodePage::Gbk).size() > size) std::abort();
    return 0;
}
