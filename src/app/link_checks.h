#pragma once
// Cells come from web pages, so nothing in them is handed to the system
// before its scheme is checked (ASCII letters compared without case).

#include <string_view>

namespace sirelo {

// Starts with "magnet:".
bool IsMagnetLink(std::string_view text);
// Starts with "http://" or "https://".
bool IsWebAddress(std::string_view text);

}  // namespace sirelo
