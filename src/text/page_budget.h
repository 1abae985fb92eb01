#pragma once
// What cutting one page may cost, whatever its site's definition says. Each
// page gets one budget; every pattern search and finishing step over that page
// draws from it, and once it is spent the cut keeps what it found so far.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace sirelo {

inline constexpr std::uint64_t kPageMatchSteps = 50'000'000;   // about 0.3 s of matching
inline constexpr std::size_t kPageFinishWork = 512u << 20;     // bytes read and written by steps
inline constexpr std::size_t kPageFinishedText = 16u << 20;    // finished text of all items
inline constexpr std::size_t kFinishedPieceLimit = 64u << 10;  // one finished piece

struct PageBudget {
    using Clock = std::chrono::steady_clock;
    Clock::time_point deadline = Clock::time_point::max();  // the transfer's, when there is one
    std::uint64_t matchSteps = kPageMatchSteps;
    std::size_t finishWork = kPageFinishWork;
    std::size_t finishedText = kPageFinishedText;
    bool matchesCut = false;  // a search stopped because the budget was spent

    bool pastDeadline() const { return Clock::now() >= deadline; }
};

}  // namespace sirelo
