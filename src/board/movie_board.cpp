#include "board/movie_board.h"

#include "board/board_slot.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

// Posters, then names, then dates of one half, each in increasing slot number.
void AppendHalf(std::vector<HalfSwitchStep>& steps, bool show, int firstSlot) {
    for (const SlotControl control : {SlotControl::Poster, SlotControl::Name, SlotControl::Date}) {
        for (int slot = firstSlot; slot < firstSlot + BoardSlot::kPerHalf; ++slot) {
            steps.push_back({show, control, slot});
        }
    }
}

}  // namespace

std::vector<HalfSwitchStep> MovieBoard::toggleBoardHalf() {
    const bool firstShown = halfMarker_.empty();
    halfMarker_ = firstShown ? Gbk("第二页") : std::string();
    const int hidden = firstShown ? 1 : 1 + BoardSlot::kPerHalf;
    const int shown = firstShown ? 1 + BoardSlot::kPerHalf : 1;
    std::vector<HalfSwitchStep> steps;
    steps.reserve(BoardSlot::kCount * 3);
    AppendHalf(steps, false, hidden);
    AppendHalf(steps, true, shown);
    return steps;
}

}  // namespace sirelo
