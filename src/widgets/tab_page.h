#pragma once
// Places on the pages of 选择夹1 are given in the tab control's own coordinates,
// which count the strip of tabs above the page. A page starts below the strip,
// so every control placed on a page is moved up by the strip's height; the tab
// control holds its strip at that height.

namespace sirelo {

inline constexpr int kTabStripHeight = 20;

// The top on its page of a control that the layout puts at `tabTop` in the tab
// control.
constexpr int PageTop(int tabTop) {
    return tabTop - kTabStripHeight;
}

}  // namespace sirelo
