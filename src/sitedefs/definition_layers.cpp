#include "sitedefs/definition_layers.h"

#include "sitedefs/program_definitions.h"

namespace sirelo {

DefinitionLayers LoadDefinitionLayers(AppConfig& config, const LayerOptions& options) {
    DefinitionLayers layers;
    layers.definitions = BuiltInSiteDefinitions();
    layers.feed = ReadFeedSettings(config);
    if (layers.feed) {
        layers.feedCache = FeedCacheIn(config);
        layers.cachedFeed = ReadCachedFeed(layers.feedCache, *layers.feed);
        if (layers.cachedFeed.copy) layers.definitions = layers.cachedFeed.copy->definitions;
    }
    layers.userFile = options.userFile.value_or(UserDefinitionsPath(config));
    LoadedDefinitions user =
        LoadDefinitionsFile(layers.userFile, options.userFile.has_value(), layers.definitions);
    layers.definitions = std::move(user.definitions);
    layers.userProblems = std::move(user.problems);
    layers.userWarnings = std::move(user.warnings);
    layers.userKeys = std::move(user.fileKeys);
    return layers;
}

std::string FeedVersionInForce(const DefinitionLayers& layers) {
    return layers.cachedFeed.copy ? layers.cachedFeed.copy->version : std::string();
}

void ReportLayerProblems(const DefinitionLayers& layers, std::FILE* report, const char* who) {
    if (layers.feed && !layers.cachedFeed.whyNotInForce.empty()) {
        std::fprintf(report, "%s: %s: %s\n", who, layers.feedCache.file.c_str(),
                     layers.cachedFeed.whyNotInForce.c_str());
    }
    for (const DefinitionProblem& problem : layers.userProblems)
        std::fprintf(report, "%s: %s\n", who, DescribeProblem(problem).c_str());
    for (const DefinitionProblem& warning : layers.userWarnings)
        std::fprintf(report, "%s: warning: %s\n", who, DescribeProblem(warning).c_str());
}

}  // namespace sirelo
