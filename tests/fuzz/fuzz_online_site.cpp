#include <cstdlib>

#include "fuzz_input.h"
#include "fuzz_sites.h"

using namespace sirelo;

// A search answer's hit and a detail page, read with each online site's rules.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitInput(data, size, 2);
    const std::string hit = fuzz::WithoutZeros(parts[0]);
    const std::string page = fuzz::WithoutZeros(parts[1]);
    const std::string base = "http://127.0.0.1:8080";
    for (const OnlineSite& site : fuzz::BuiltInOnlineSites()) {
        const OnlineHit read = ReadOnlineHit(site, hit, base);
        if (read.detailAddress.compare(0, base.size(), base) != 0) std::abort();
        for (const OnlineItem& item : ReadDetailItems(site, base, page).items) {
            if (item.pageAddress.compare(0, base.size(), base) != 0) std::abort();
        }
    }
    return 0;
}
