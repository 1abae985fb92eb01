#pragma once
// The definitions the program runs with: data/sites.toml, built in, and over it
// the user's sites.toml next to Configuration.ini, read once at start-up.

#include <cstdio>
#include <string>
#include <string_view>

#include "sitedefs/definitions_loader.h"

namespace sirelo {

class AppConfig;

// The built-in definitions file, as data/sites.toml holds it.
std::string_view BuiltInDefinitionsText();
// That file read over blank definitions; parsed once, on first use.
const SiteDefinitions& BuiltInSiteDefinitions();

// <the folder of Configuration.ini>/sites.toml.
std::string UserDefinitionsPath(AppConfig& config);

// The file at `path` applied over `base`. A file that is missing counts as a
// problem only when `mustExist`; one that is no regular file, cannot be read
// or is larger than a megabyte always does.
LoadedDefinitions LoadDefinitionsFile(const std::string& path, bool mustExist,
                                      const SiteDefinitions& base = BuiltInSiteDefinitions());

// The layers in force (LoadDefinitionLayers), each problem written to
// `report` as one line. Called once, before any worker runs.
SiteDefinitions ProgramSiteDefinitions(AppConfig& config, std::FILE* report);

}  // namespace sirelo
