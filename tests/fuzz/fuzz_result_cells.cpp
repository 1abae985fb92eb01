// Scraped cells as the result actions read them: a link's info-hash, a name
// and a size through the filter bar's test, and a row written as CSV.
#include <cstdlib>

#include "app/csv_text.h"
#include "app/row_filter.h"
#include "fuzz_input.h"
#include "sites/info_hash.h"

using namespace sirelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto p = fuzz::SplitInput(data, size, 4);
    (void)InfoHashOf(p[0]);
    (void)RowPasses(ParseRowFilter(p[3]), fuzz::WithoutZeros(p[1]), fuzz::WithoutZeros(p[2]));
    std::string csv;
    AppendCsvLine(csv, {p[0], p[1], p[2]});
    // Quoting at most doubles a cell, plus its quotes, apostrophe and separators.
    if (csv.size() > 2 * (p[0].size() + p[1].size() + p[2].size()) + 3 * 3 + 4) std::abort();
    return 0;
}
