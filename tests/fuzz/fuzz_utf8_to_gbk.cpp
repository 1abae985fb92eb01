#include <cstdlib>

#include "text/codepage.h"

using namespace sirelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view utf8(reinterpret_cast<const char*>(data), size);
    const std::string gbk = Utf8ToGbk(utf8);
    if (gbk.size() > size) std::abort();  // never longer than its input
    const std::u16string wide = ToUtf16(utf8, CodePage::Utf8);
    if (FromUtf16(wide, CodePage::Gbk) != gbk) std::abort();  // both roads agree
    return 0;
}
