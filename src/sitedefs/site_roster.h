#pragma once
// What the program makes of the roster (SiteDefinitions) once at start-up,
// before any thread: the sites' addresses with [站点地址] applied, and their
// switches on 设置中心 and in Configuration.ini. Everything that names sites
// reads these; nothing else lists them.

#include <vector>

#include "config/site_addresses.h"
#include "config/site_switch.h"
#include "sitedefs/site_definitions.h"

namespace sirelo {

class AppConfig;

// Makes each base the address the program's requests go to, once at start-up
// before any thread: written without a trailing "/" (except where a base is
// written with one: 7DDS's paths are joined to a base ending in one), and
// replaced by the site's id in [站点地址] of the configuration file (the
// board's key kBoardAddressKey) when that holds a base address. Returns the
// values of the section that are no base address.
std::vector<RefusedAddress> ApplySiteAddresses(AppConfig& config, SiteDefinitions& definitions);

// Magnet sites first, then online ones, each kind by place. A built-in site
// keeps its own checkbox (kBuiltInSwitches); an added one gets
// "<id>_选择框", " " + label, its id as key.
std::vector<SiteSwitch> SiteSwitchesOf(const SiteDefinitions& definitions);

}  // namespace sirelo
