#pragma once
// The settings that are not sites: each control, its section and key in
// Configuration.ini and its form default. The sites' switches come from the
// roster (config/site_switch.h). Texts here are UTF-8; the file and the core use GBK.

#include <array>

namespace sirelo {

enum class NumberBox { ThreadCount, Interval, PageCount };
enum class FlagBox { ExactSearch, FilterLinks, KeepNewestShown, OneRowPerTorrent };

inline constexpr const char* kSoftwareSection = "软件设置";

struct NumberSetting {
    NumberBox box;
    const char* control;
    const char* key;  // in kSoftwareSection
    int min;
    int max;
    const char* formDefault;
};

struct FlagSetting {
    FlagBox box;
    const char* control;
    const char* section;
    const char* key;
    bool formDefault;
};

// Both tables are in the order in which loadSettings reads and applies the keys.
inline constexpr std::array<NumberSetting, 3> kNumberSettings{{
    {NumberBox::ThreadCount, "线程数量_编辑框", "线程数量", 1, 20, "5"},
    {NumberBox::Interval, "搜索间隔_编辑框", "间隔时间", 100, 3000, "500"},
    {NumberBox::PageCount, "搜索页数_编辑框", "搜索页数", 1, 100, "10"},
}};

// The site switches follow the flags, in the roster's order.
inline constexpr std::array<FlagSetting, 4> kFlagSettings{{
    {FlagBox::ExactSearch, "精准搜索_选择框", kSoftwareSection, "精准搜索", true},
    {FlagBox::FilterLinks, "过滤链接_选择框", kSoftwareSection, "过滤链接", true},
    {FlagBox::KeepNewestShown, "保证显示_选择框", kSoftwareSection, "保证显示", false},
    {FlagBox::OneRowPerTorrent, "种子去重_选择框", kSoftwareSection, "种子去重", false},
}};

const NumberSetting& SettingOf(NumberBox box);
const FlagSetting& SettingOf(FlagBox box);

}  // namespace sirelo
