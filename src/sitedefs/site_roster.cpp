#include "sitedefs/site_roster.h"

#include <algorithm>
#include <string>

#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

// One "/" at the end exactly when the base was written with one.
std::string AsJoined(const std::string& base) {
    std::string address(WithoutTrailing(base, '/'));
    if (!base.empty() && base.back() == '/') address += '/';
    return address;
}

SiteSwitch SwitchOf(SiteKind kind, const SiteEntry& site) {
    SiteSwitch box;
    box.kind = kind;
    box.index = site.index;
    box.label = GbkToUtf8(site.label);
    box.formDefault = site.enabled;
    const auto builtIn =
        std::find_if(kBuiltInSwitches.begin(), kBuiltInSwitches.end(),
                     [&](const BuiltInSwitch& s) { return s.kind == kind && s.id == site.id; });
    if (site.builtIn && builtIn != kBuiltInSwitches.end()) {
        box.control = builtIn->control;
        box.key = builtIn->key;
        box.caption = box.label == site.id ? std::string(builtIn->caption) : " " + box.label;
        box.clickable = !builtIn->needsUserTable || site.userTable;
        box.builtIn = true;
    } else {
        box.control = site.id + "_选择框";
        box.key = site.id;
        box.caption = " " + box.label;
    }
    return box;
}

}  // namespace

std::vector<RefusedAddress> ApplySiteAddresses(AppConfig& config, SiteDefinitions& definitions) {
    std::vector<RefusedAddress> refused;
    const SiteAddressSection section(config);
    for (MagnetSite& site : definitions.magnet) {
        site.base = std::string(WithoutTrailing(site.base, '/'));
        section.apply(site.id, site.base, refused);
    }
    for (OnlineSite& site : definitions.online) {
        site.base = AsJoined(site.base);
        section.apply(site.id, site.base, refused);
    }
    definitions.board.base = std::string(WithoutTrailing(definitions.board.base, '/'));
    section.apply(kBoardAddressKey, definitions.board.base, refused);
    return refused;
}

std::vector<SiteSwitch> SiteSwitchesOf(const SiteDefinitions& definitions) {
    std::vector<SiteSwitch> switches;
    for (const MagnetSite& site : definitions.magnet)
        switches.push_back(SwitchOf(SiteKind::Magnet, site));
    for (const OnlineSite& site : definitions.online)
        switches.push_back(SwitchOf(SiteKind::Online, site));
    return switches;
}

}  // namespace sirelo
