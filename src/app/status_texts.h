#pragma once
// The texts of the five panes of 状态条1, as GBK.

#include <array>
#include <cstdint>
#include <string>

namespace sirelo {

using StatusPanes = std::array<std::string, 5>;

struct StatusFigures {
    int magnetRows = 0;
    int onlineRows = 0;
    int filteredLinks = 0;
    int filteredItems = 0;
    std::uint32_t elapsedMs = 0;
};

// Seconds to two places, halves rounded up, in "%.13g": 5237 ms gives "5.24".
std::string ElapsedSecondsText(std::uint32_t elapsedMs);

StatusPanes IdleStatusPanes();
StatusPanes RefreshedStatusPanes(const StatusFigures& figures);

}  // namespace sirelo
