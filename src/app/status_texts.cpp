#include "app/status_texts.h"

#include <cmath>
#include <cstdio>

#include "text/codepage.h"

namespace sirelo {
namespace {

// Pane captions, leading space and full-width colon included.
constexpr std::array<const char*, 5> kCaptions{" 磁力链接： ", " 在线播放： ", " 过滤链接： ",
                                               " 过滤资源： ", " 搜索耗时： "};

std::string Pane(int index, const std::string& value, const char* unit) {
    return Utf8ToGbk(kCaptions[index]) + value + Utf8ToGbk(unit);
}

}  // namespace

std::string ElapsedSecondsText(std::uint32_t elapsedMs) {
    const double hundredths = elapsedMs / 1000.0 * 100.0 + 1e-12;
    double whole = std::floor(hundredths);
    if (hundredths - whole >= 0.5) whole += 1.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.13g", whole / 100.0);
    return text;
}

StatusPanes IdleStatusPanes() {
    StatusPanes panes;
    for (int i = 0; i < 5; ++i)
        panes[i] = Pane(i, "", "无");
    return panes;
}

StatusPanes RefreshedStatusPanes(const StatusFigures& figures) {
    return {Pane(0, std::to_string(figures.magnetRows), "  条"),
            Pane(1, std::to_string(figures.onlineRows), "  条"),
            Pane(2, std::to_string(figures.filteredLinks), "  条"),
            Pane(3, std::to_string(figures.filteredItems), "  条"),
            Pane(4, ElapsedSecondsText(figures.elapsedMs), "  秒")};
}

}  // namespace sirelo
