// sirelo-sitecheck dump
// sirelo-sitecheck validate [FILE]

#include <cstdio>

#include "check_run.h"
#include "config/app_config.h"
#include "config/profile_file.h"
#include "sitecheck_modes.h"
#include "sitedefs/feed_header.h"
#include "sitedefs/program_definitions.h"

namespace sirelo::sitecheck {
namespace {

// The built-in definitions: the start of a user's own file.
int RunDump(const std::vector<std::string>& args) {
    if (!args.empty()) throw UsageError("dump takes no arguments");
    const std::string_view text = BuiltInDefinitionsText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

// Every problem of a definitions file, one a line on stdout; 1 when there is any.
int RunValidate(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {});
    if (parsed.positional.size() > 1 || (parsed.sites && !parsed.positional.empty())) {
        throw UsageError("validate checks one file");
    }
    std::optional<std::string> named = parsed.sites;
    if (!parsed.positional.empty()) named = parsed.positional[0];
    const std::string path = named ? *named : UserDefinitionsPath(TheAppConfig());
    LoadedDefinitions loaded = LoadDefinitionsFile(path, named.has_value());
    // A feed's [feed] table is only read once the rest of the file is clean.
    if (const std::optional<std::string> text = ReadWholeFile(path);
        text && loaded.problems.empty()) {
        loaded.problems = ReadFeedHeader(*text, path).problems;
    }
    for (const DefinitionProblem& problem : loaded.problems) {
        std::printf("%s\n", TerminalSafe(DescribeProblem(problem)).c_str());
    }
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %zu problem%s\n", path.c_str(), loaded.problems.size(),
                 loaded.problems.size() == 1 ? "" : "s");
    // The user's own setup also has its addresses in Configuration.ini.
    const bool refusedAddress = !named && !ConfiguredAddresses(loaded.definitions).refused.empty();
    return loaded.problems.empty() && !refusedAddress ? 0 : 1;
}

const bool kDumpRegistered = RegisterSitecheckMode(
    {"dump", "   prints the built-in site definitions, the start of a sites.toml", RunDump});
const bool kValidateRegistered = RegisterSitecheckMode(
    {"validate", "[FILE]   checks a definitions file, by default the user's sites.toml",
     RunValidate});

}  // namespace
}  // namespace sirelo::sitecheck
