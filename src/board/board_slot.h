#pragma once
// The twelve slots of the board. Slots 1-6 form the first half and 7-12 the
// second; slot k and slot k + 6 share one place. Slots 6 and 12 hold the fixed
// promotion, the others show films.

#include <optional>

namespace sirelo {

struct BoardSlot {
    static constexpr int kCount = 12;
    static constexpr int kPerHalf = 6;

    int number = 1;  // 1..12

    bool IsPromotion() const { return number % kPerHalf == 0; }
    bool InFirstHalf() const { return number <= kPerHalf; }
    int Column() const { return (number - 1) % kPerHalf; }  // 0..5, left to right
};

// Films 1-10 in page order fill slots 1-5 and 7-11; later films are not shown.
inline constexpr int kShownFilmCount = 10;

// The slot that shows film `film` (counted from 1), or nothing when it is not shown.
std::optional<BoardSlot> SlotForFilm(int film);

}  // namespace sirelo
