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

SiteAddresses DefinedAddresses(const SiteDefinitions& definitions) {
    SiteAddresses addresses;
    for (const MagnetSite& site : definitions.magnet)
        addresses.magnet.at(site.index) = WithoutTrailing(site.base, '/');
    for (const OnlineSite& site : definitions.online)
        addresses.online.at(site.index) = AsJoined(site.base);
    addresses.board = WithoutTrailing(definitions.board.base, '/');
    return addresses;
}

SiteAddresses ReadSiteAddresses(AppConfig& config, const SiteDefinitions& definitions) {
    SiteAddresses addresses = DefinedAddresses(definitions);
    const SiteAddressSection section(config);
    for (const MagnetSite& site : definitions.magnet)
        section.apply(site.id, addresses.magnet.at(site.index), addresses.refused);
    for (const OnlineSite& site : definitions.online)
        section.apply(site.id, addresses.online.at(site.index), addresses.refused);
    section.apply(kBoardAddressKey, addresses.board, addresses.refused);
    return addresses;
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
