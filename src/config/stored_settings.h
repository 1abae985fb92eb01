#pragma once
// The settings as Configuration.ini holds them, for programs without the
// settings panel: the same reading and clamping as the window's start-up.

#include "config/app_config.h"
#include "config/live_settings.h"

namespace sirelo {

// `live` as the window's controls would be after loading the file: form
// defaults for missing keys, numbers clamped. Never writes the file.
void ReadStoredSettings(AppConfig& config, LiveSettings& live);

}  // namespace sirelo
