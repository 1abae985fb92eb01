#include "config/settings_rules.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <string>

#include "text/codepage.h"

namespace sirelo {
namespace {

std::string FoldFullWidth(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80 || i + 1 == text.size()) {
            folded += text[i];
            continue;
        }
        auto trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded += static_cast<char>(trail & 0x7F);
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded += ' ';
        } else {
            folded += text.substr(i, 2);
        }
        ++i;
    }
    return folded;
}

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string Decimal(int value) {
    return std::to_string(value);
}

}  // namespace

int textToInteger(std::string_view text) {
    const std::string folded = FoldFullWidth(text);
    std::size_t i = 0;
    while (i < folded.size() && IsCSpace(folded[i]))
        ++i;
    bool negative = false;
    if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) negative = folded[i++] == '-';
    // One past the largest magnitude, so both ends of the range come out exact.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
        magnitude = std::min(magnitude * 10 + (folded[i] - '0'), kLimit);
    }
    if (negative) return static_cast<int>(-magnitude);
    return static_cast<int>(std::min(magnitude, kLimit - 1));
}

void onNumberChanged(SettingsControls& controls, NumberBox box, AppConfig& config,
                     LiveSettings& live) {
    const NumberSetting& setting = SettingOf(box);
    if (textToInteger(controls.numberText(box)) > setting.max) {
        controls.setNumberText(box, Decimal(setting.max));
    }
    if (textToInteger(controls.numberText(box)) < setting.min) {
        controls.setNumberText(box, Decimal(setting.min));
    }
    const int value = textToInteger(controls.numberText(box));
    if (!config.loading()) {
        config.writeSetting(Utf8ToGbk(kSoftwareSection), Utf8ToGbk(setting.key), Decimal(value));
    }
    NumberOf(live, box) = value;
}

void onFlagClicked(const SettingsControls& controls, FlagBox box, AppConfig& config) {
    const FlagSetting& setting = SettingOf(box);
    const char* value = controls.flagChecked(box) ? "真" : "假";
    config.writeSetting(Utf8ToGbk(setting.section), Utf8ToGbk(setting.key), Utf8ToGbk(value));
}

void onSiteClicked(const SettingsControls& controls, const SiteSwitch& site, AppConfig& config) {
    const char* value = controls.siteChecked(site) ? "真" : "假";
    config.writeSetting(Utf8ToGbk(SiteSection(site.kind)), Utf8ToGbk(site.key), Utf8ToGbk(value));
}

std::atomic<int>& NumberOf(LiveSettings& live, NumberBox box) {
    switch (box) {
        case NumberBox::ThreadCount:
            return live.threadCount;
        case NumberBox::Interval:
            return live.intervalMs;
        case NumberBox::PageCount:
            break;
    }
    return live.pageCount;
}

std::atomic<bool>& FlagOf(LiveSettings& live, FlagBox box) {
    switch (box) {
        case FlagBox::ExactSearch:
            return live.exactSearch;
        case FlagBox::FilterLinks:
            return live.filterLinks;
        case FlagBox::OneRowPerTorrent:
            return live.oneRowPerTorrent;
        case FlagBox::KeepNewestShown:
            break;
    }
    return live.keepNewestShown;
}

}  // namespace sirelo
