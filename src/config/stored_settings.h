#pragma once
// The settings as Configuration.ini holds them, for programs without the
// settings panel: the same reading and clamping as the window's start-up.

#include <vector>

#include "config/app_config.h"
#include "config/live_settings.h"

namespace sirelo {

// `live` as the window's controls would be after loading the file: form
// defaults for missing keys, numbers clamped. `live` has a flag for every
// switch of `sites`. Never writes the file.
void ReadStoredSettings(AppConfig& config, LiveSettings& live,
                        const std::vector<SiteSwitch>& sites);

}  // namespace sirelo
