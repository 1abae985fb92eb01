#include "app/row_filter.h"

#include "app/cell_order.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsLead(unsigned char c) {
    return c >= 0x81;
}

// Lower-cases the one-byte characters only: the trail byte of a GBK character
// may look like an ASCII letter.
std::string FoldedGbk(std::string_view text) {
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (IsLead(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

// A match must start on a character, never inside one.
bool Contains(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size();
         i += IsLead(static_cast<unsigned char>(text[i])) ? 2 : 1) {
        if (text.compare(i, word.size(), word) == 0) return true;
    }
    return false;
}

bool ParseSizeBound(std::string_view word, SizeBound& bound) {
    using Compare = SizeBound::Compare;
    if (word.starts_with(">=")) {
        bound.compare = Compare::GreaterOrEqual;
    } else if (word.starts_with("<=")) {
        bound.compare = Compare::LessOrEqual;
    } else if (word.starts_with('>')) {
        bound.compare = Compare::Greater;
    } else if (word.starts_with('<')) {
        bound.compare = Compare::Less;
    } else {
        return false;
    }
    const bool twoSigns =
        bound.compare == Compare::GreaterOrEqual || bound.compare == Compare::LessOrEqual;
    bound.bytes = CellValue(CellOrder::Size, word.substr(twoSigns ? 2 : 1));
    return bound.bytes != kNoValue;
}

bool Within(const SizeBound& bound, double bytes) {
    switch (bound.compare) {
        case SizeBound::Compare::Less:
            return bytes < bound.bytes;
        case SizeBound::Compare::LessOrEqual:
            return bytes <= bound.bytes;
        case SizeBound::Compare::Greater:
            return bytes > bound.bytes;
        case SizeBound::Compare::GreaterOrEqual:
            break;
    }
    return bytes >= bound.bytes;
}

}  // namespace

RowFilter ParseRowFilter(std::string_view utf8Text) {
    RowFilter filter;
    std::size_t at = 0;
    while (at < utf8Text.size()) {
        while (at < utf8Text.size() && IsBlank(utf8Text[at]))
            ++at;
        std::size_t end = at;
        while (end < utf8Text.size() && !IsBlank(utf8Text[end]))
            ++end;
        if (end == at) break;
        const std::string_view word = utf8Text.substr(at, end - at);
        if (SizeBound bound; ParseSizeBound(word, bound)) {
            filter.sizes.push_back(bound);
        } else {
            filter.words.push_back(FoldedGbk(Utf8ToGbk(word)));
        }
        at = end;
    }
    return filter;
}

bool RowPasses(const RowFilter& filter, std::string_view gbkName, std::string_view gbkSize) {
    if (!filter.sizes.empty()) {
        const double bytes = CellValue(CellOrder::Size, gbkSize);
        if (bytes == kNoValue) return false;
        for (const SizeBound& bound : filter.sizes) {
            if (!Within(bound, bytes)) return false;
        }
    }
    if (filter.words.empty()) return true;
    const std::string name = FoldedGbk(gbkName);
    for (const std::string& word : filter.words) {
        if (!Contains(name, word)) return false;
    }
    return true;
}

}  // namespace sirelo
