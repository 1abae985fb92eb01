// Scraped cells as sirelo-torznab turns them into feed fields, and the query
// parameters a client sends: nothing may crash, and escaped text never holds
// markup.

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "fuzz_input.h"
#include "torznab_item.h"
#include "torznab_service.h"
#include "torznab_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sirelo::torznab;
    const auto parts = sirelo::fuzz::SplitInput(data, size, 5);
    const std::string escaped = XmlEscaped(parts[0]);
    if (escaped.find_first_of("<>\"'") != std::string::npos) std::abort();
    InfoHashOf(parts[1]);
    SizeInBytes(parts[2]);
    HeatCount(parts[3]);
    PubDate(parts[4], std::time_t{0});

    // A service without sites reads the parameters and asks nobody.
    static TorznabService service([] {
        ServiceOptions options;
        options.definitions = nullptr;
        options.apiKey = "key";
        return options;
    }());
    QueryParams params{{"apikey", "key"}, {"t", parts[0]},     {"q", parts[1]},
                       {"cat", parts[2]}, {"limit", parts[3]}, {"offset", parts[4]}};
    service.answer(kAllIndexers, params);
    return 0;
}
