#pragma once
// Scraped texts as the widgets show them. A hostile page can make a cell or a
// label megabytes long, and laying that out would stall the window at every
// repaint; what is shown is cut, while the stored text stays whole.

#include <QString>
#include <string_view>

namespace sirelo {

inline constexpr int kMaxShownCharacters = 1000;

// The GBK text for display: at most kMaxShownCharacters characters, "…" after a cut.
QString ShownText(std::string_view gbk);

}  // namespace sirelo
