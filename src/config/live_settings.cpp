#include "config/live_settings.h"

namespace sirelo {
namespace {

std::vector<bool> Defaults(const std::vector<SiteSwitch>& switches, SiteKind kind) {
    std::vector<bool> states;
    for (const SiteSwitch& site : switches) {
        if (site.kind != kind) continue;
        if (states.size() <= static_cast<std::size_t>(site.index))
            states.resize(static_cast<std::size_t>(site.index) + 1);
        states[static_cast<std::size_t>(site.index)] = site.formDefault;
    }
    return states;
}

std::vector<bool> BuiltInDefaults(SiteKind kind) {
    std::vector<bool> states;
    for (const BuiltInSwitch& site : kBuiltInSwitches) {
        if (site.kind == kind) states.push_back(site.formDefault);
    }
    return states;
}

}  // namespace

SiteFlags::SiteFlags(const std::vector<bool>& states)
    : flags_(std::make_unique<std::atomic<bool>[]>(states.size())), size_(states.size()) {
    for (std::size_t i = 0; i < size_; ++i)
        flags_[i] = states[i];
}

LiveSettings::LiveSettings()
    : magnetSites(BuiltInDefaults(SiteKind::Magnet)),
      onlineSites(BuiltInDefaults(SiteKind::Online)) {}

LiveSettings::LiveSettings(const std::vector<SiteSwitch>& switches)
    : magnetSites(Defaults(switches, SiteKind::Magnet)),
      onlineSites(Defaults(switches, SiteKind::Online)) {}

std::atomic<bool>& SiteFlagOf(LiveSettings& live, const SiteSwitch& site) {
    SiteFlags& flags = site.kind == SiteKind::Magnet ? live.magnetSites : live.onlineSites;
    return flags[static_cast<std::size_t>(site.index)];
}

}  // namespace sirelo
