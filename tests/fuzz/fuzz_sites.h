#pragma once
// The built-in site records whose rules the fuzzers run over hostile pages;
// the one place that knows where those records come from.

#include "sitedefs/program_definitions.h"
#include "sites/magnet_site.h"
#include "sites/online_site.h"

namespace sirelo::fuzz {

inline const auto& BuiltInMagnetSites() {
    return BuiltInSiteDefinitions().magnet;
}

inline const auto& BuiltInOnlineSites() {
    return BuiltInSiteDefinitions().online;
}

}  // namespace sirelo::fuzz
