#include "app/csv_text.h"

namespace sirelo {

namespace {

bool LooksLikeFormula(const std::string& cell) {
    return !cell.empty() &&
           std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos;
}

}  // namespace

void AppendCsvLine(std::string& csv, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) csv += ',';
        const std::string cell = LooksLikeFormula(cells[i]) ? "'" + cells[i] : cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            csv += cell;
            continue;
        }
        csv += '"';
        for (char c : cell) {
            if (c == '"') csv += '"';
            csv += c;
        }
        csv += '"';
    }
    csv += "\r\n";
}

}  // namespace sirelo
