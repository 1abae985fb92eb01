#include "board/board_slot.h"

namespace sirelo {

std::optional<BoardSlot> SlotForFilm(int film) {
    if (film < 1 || film > kShownFilmCount) return std::nullopt;
    return BoardSlot{film < BoardSlot::kPerHalf ? film : film + 1};
}

}  // namespace sirelo
