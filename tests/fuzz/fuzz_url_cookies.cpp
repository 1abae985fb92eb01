#include <cstdlib>

#include "fuzz_input.h"
#include "net/url_cookies.h"

using namespace sirelo;

// Addresses scraped from pages and cookie headers sent by sites.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitInput(data, size, 2);
    const std::string first = fuzz::WithoutZeros(parts[0]);
    const std::string second = fuzz::WithoutZeros(parts[1]);

    UrlHost(first, true);
    UrlPort(first);
    if (UrlPath(first).empty()) std::abort();  // at least "/"
    AgentFromHeaders(first);
    CookieName(first);

    // Every entry costs at most its separator's byte once more.
    if (MergeCookies(first, second).size() > 2 * (first.size() + second.size())) std::abort();
    if (RemoveDuplicates(second, first).size() > second.size()) std::abort();
    const TextList entries = SplitText(second, ";");
    HasCookieNamed(entries, first);
    IndexOfText(entries, first);
    return 0;
}
