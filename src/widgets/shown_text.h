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

// A tooltip that shows `text` literally, never as rich text, and can wrap a
// long link that has no blank to break at.
QString PlainToolTip(const QString& text);

}  // namespace sirelo
