#pragma once
// The change rules of the settings controls and the number reading they use.

#include <atomic>
#include <string_view>

#include "config/app_config.h"
#include "config/live_settings.h"
#include "config/settings_controls.h"

namespace sirelo {

// Full-width ASCII (GBK A3 A1..A3 FE) and the full-width space fold to ASCII,
// then the text reads as atoi reads it; beyond 32 bits it is clamped.
int textToInteger(std::string_view text);

// The rule of a numeric box, run on every change of its text: clamps the text
// into range (a new text runs this rule again, inside), writes the value unless
// the file is loading, and stores the box's value in `live`.
void onNumberChanged(SettingsControls& controls, NumberBox box, AppConfig& config,
                     LiveSettings& live);

// The rule of a checkbox, run on a real click only: writes "真" or "假".
void onFlagClicked(const SettingsControls& controls, FlagBox box, AppConfig& config);
// The same for a site's checkbox: its key in 磁力站点 or 在线站点.
void onSiteClicked(const SettingsControls& controls, const SiteSwitch& site, AppConfig& config);

// The live value that belongs to each control.
std::atomic<int>& NumberOf(LiveSettings& live, NumberBox box);
std::atomic<bool>& FlagOf(LiveSettings& live, FlagBox box);

}  // namespace sirelo
