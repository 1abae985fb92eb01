// A user's definitions file of any bytes: the loader reports problems and never
// leaves a site with an empty marker or a page without its keyword.
#include <cstdlib>
#include <string_view>

#include "sitedefs/definitions_loader.h"
#include "sitedefs/program_definitions.h"

using namespace sirelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LoadedDefinitions loaded = ApplyDefinitions(BuiltInSiteDefinitions(), text, "fuzz");
    for (const MagnetSite& site : loaded.definitions.magnet) {
        if (site.pagePath.find("{keyword}") == std::string::npos) std::abort();
        for (const FieldRule& rule : site.fields) {
            if (rule.startMarker.empty() || rule.endMarker.empty()) std::abort();
        }
    }
    for (const OnlineSite& site : loaded.definitions.online) {
        if (site.itemStart.empty() || site.itemEnd.empty() || site.hitPattern.empty()) std::abort();
    }
    for (const DefinitionProblem& problem : loaded.problems) {
        if (problem.words.empty()) std::abort();
    }
    return 0;
}
