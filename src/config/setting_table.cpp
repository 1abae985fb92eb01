#include "config/setting_table.h"

namespace sirelo {

const NumberSetting& SettingOf(NumberBox box) {
    for (const NumberSetting& setting : kNumberSettings) {
        if (setting.box == box) return setting;
    }
    return kNumberSettings.front();
}

const FlagSetting& SettingOf(FlagBox box) {
    for (const FlagSetting& setting : kFlagSettings) {
        if (setting.box == box) return setting;
    }
    return kFlagSettings.front();
}

}  // namespace sirelo
