#pragma once
// The definitions in force, in layers: the built-in file; over it the cached
// copy of the definitions feed, verified again against 订阅公钥; over both the
// user's sites.toml, which wins. Each layer applies key by key. Read once at
// start-up, before the window and before any worker; the feed is only read
// here from its cache, never fetched.

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/feed_settings.h"
#include "sitedefs/definitions_loader.h"
#include "sitedefs/feed_update.h"

namespace sirelo {

class AppConfig;

struct LayerOptions {
    // Instead of the user's sites.toml; then it must exist.
    std::optional<std::string> userFile;
};

struct DefinitionLayers {
    SiteDefinitions definitions;
    std::optional<FeedSettings> feed;  // none: no feed configured
    FeedCachePaths feedCache;
    CachedFeed cachedFeed;
    std::string userFile;
    std::vector<DefinitionProblem> userProblems;
    std::vector<DefinitionProblem> userWarnings;
    std::set<std::string> userKeys;  // the keys the user's file set, dotted
};

DefinitionLayers LoadDefinitionLayers(AppConfig& config, const LayerOptions& options = {});

// The version of the feed copy in force; empty when none is or it names none.
std::string FeedVersionInForce(const DefinitionLayers& layers);

// Each problem and warning of the user's file, and a feed copy that is not
// in force, as one line "<who>: ..." on `report`.
void ReportLayerProblems(const DefinitionLayers& layers, std::FILE* report, const char* who);

}  // namespace sirelo
