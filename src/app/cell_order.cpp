#include "app/cell_order.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "sites/worker_context.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

// GBK words, converted once.
struct Words {
    std::string year = Utf8ToGbk("年"), month = Utf8ToGbk("月"), day = Utf8ToGbk("日");
    std::string tenThousand = Utf8ToGbk("万"), hundredMillion = Utf8ToGbk("亿");
};
const Words& TheWords() {
    static const Words words;
    return words;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The decimal number at the start of `text` (thousands commas allowed); the
// rest is left in `text`. Nothing is consumed when it starts with no digit.
bool TakeNumber(std::string_view& text, double& value) {
    std::string digits;
    std::size_t at = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            digits += c;
        } else if (c != ',' || digits.empty()) {
            break;
        }
    }
    if (digits.empty() || !std::isdigit(static_cast<unsigned char>(digits.front()))) return false;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return false;
    text.remove_prefix(at);
    return true;
}

bool TakeInteger(std::string_view& text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

bool TakeSeparator(std::string_view& text, std::string_view separators) {
    if (text.empty() || separators.find(text.front()) == std::string_view::npos) return false;
    text.remove_prefix(1);
    return true;
}

// "1.2 GB", "700MB", "1.5 G", "48.2 KiB", "5B": binary units, as the sites count.
double SizeValue(std::string_view cell) {
    double number = 0;
    if (!TakeNumber(cell, number)) return kNoValue;
    cell = Trimmed(cell);
    auto upper = [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    static constexpr std::string_view kPrefixes = "BKMGT";
    if (cell.empty()) return number;
    const std::size_t power = kPrefixes.find(upper(cell.front()));
    if (power == std::string_view::npos) return kNoValue;
    std::string_view rest = cell.substr(1);
    if (power > 0 && !rest.empty() && upper(rest.front()) == 'I') rest.remove_prefix(1);
    const bool unitOnly =
        power > 0 ? rest.empty() || (rest.size() == 1 && upper(rest.front()) == 'B') : rest.empty();
    if (!unitOnly || (power > 0 && cell.size() == 2 && upper(cell[1]) == 'I')) return kNoValue;
    return number * std::pow(1024.0, static_cast<double>(power));
}

// "2019-02-24", "2019/2/24 10:11", "2019年2月24日 10:11:12" as yyyymmddhhmmss.
double DateValue(std::string_view cell) {
    const Words& words = TheWords();
    int parts[6] = {0, 0, 0, 0, 0, 0};
    if (!TakeInteger(cell, parts[0])) return kNoValue;
    auto takeDateSeparator = [&cell](const std::string& word) {
        if (cell.substr(0, word.size()) == word) {
            cell.remove_prefix(word.size());
            return true;
        }
        return TakeSeparator(cell, "-/.");
    };
    if (!takeDateSeparator(words.year) || !TakeInteger(cell, parts[1]) ||
        !takeDateSeparator(words.month) || !TakeInteger(cell, parts[2])) {
        return kNoValue;
    }
    cell = Trimmed(cell.substr(cell.substr(0, 2) == words.day ? 2 : 0));
    for (int part = 3; part < 6; ++part) {
        if (!TakeInteger(cell, parts[part]) || (part < 5 && !TakeSeparator(cell, ":"))) break;
    }
    if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31) return kNoValue;
    double value = 0;
    for (int part : parts)
        value = value * 100 + part;
    return value;
}

}  // namespace

CellOrder MagnetColumnOrder(int column) {
    switch (column) {
        case kMagnetOrdinal:
        case kMagnetHeat:
            return CellOrder::Number;
        case kMagnetSize:
            return CellOrder::Size;
        case kMagnetCreated:
            return CellOrder::Date;
        default:
            return CellOrder::Text;
    }
}

CellOrder OnlineColumnOrder(int column) {
    return column == kOnlineOrdinal ? CellOrder::Number : CellOrder::Text;
}

double CellValue(CellOrder order, std::string_view gbkCell) {
    const std::string_view cell = Trimmed(gbkCell);
    switch (order) {
        case CellOrder::Number: {
            std::string_view rest = cell;
            double value = 0;
            if (!TakeNumber(rest, value)) return kNoValue;
            // Counts past ten thousand are often written 1.2万.
            rest = Trimmed(rest);
            if (rest.substr(0, 2) == TheWords().tenThousand) return value * 1e4;
            if (rest.substr(0, 2) == TheWords().hundredMillion) return value * 1e8;
            return value;
        }
        case CellOrder::Size:
            return SizeValue(cell);
        case CellOrder::Date:
            return DateValue(cell);
        case CellOrder::Text:
            break;
    }
    return kNoValue;
}

}  // namespace sirelo
