#pragma once
// How the cells of a result-list column compare when the user sorts by it:
// counts and sizes as numbers, dates by time, everything else by its text.
// Cells are the GBK texts the sites wrote.

#include <string_view>

namespace sirelo {

enum class CellOrder { Text, Number, Size, Date };

// The order of each column of 超级列表框1 and 超级列表框2.
CellOrder MagnetColumnOrder(int column);
CellOrder OnlineColumnOrder(int column);

// The cell as a number for a numeric order (bytes for a size, yyyymmddhhmmss
// for a date); kNoValue for a cell that holds none, which sorts below them all.
inline constexpr double kNoValue = -1e300;
double CellValue(CellOrder order, std::string_view gbkCell);

}  // namespace sirelo
