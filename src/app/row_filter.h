#pragma once
// What the filter bar over a result list lets through. Every word of the bar
// must occur in the row's name, ASCII case ignored; a word such as ">2GB",
// "<700MB" or ">=1.5G" compares the row's size instead, read as sorting reads
// it (binary units, B to TB, the B optional), and a row without a size fails it.

#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

struct SizeBound {
    enum class Compare { Less, LessOrEqual, Greater, GreaterOrEqual };
    Compare compare = Compare::Greater;
    double bytes = 0;
};

struct RowFilter {
    std::vector<std::string> words;  // GBK, ASCII letters in lower case
    std::vector<SizeBound> sizes;
    bool empty() const { return words.empty() && sizes.empty(); }
};

// The bar's text as typed (UTF-8), cut at blanks into words.
RowFilter ParseRowFilter(std::string_view utf8Text);

// `gbkName` and `gbkSize` are the row's cells as the list holds them.
bool RowPasses(const RowFilter& filter, std::string_view gbkName, std::string_view gbkSize);

}  // namespace sirelo
