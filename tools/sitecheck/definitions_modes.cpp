// sirelo-sitecheck dump
// sirelo-sitecheck validate [FILE]
// sirelo-sitecheck init

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>

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

std::string Counted(std::size_t count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// Every problem and warning of a definitions file, one a line on stdout; 1
// when there is a problem.
int RunValidate(const std::vector<std::string>& args) {
    const CheckArgs parsed = ParseCheckArgs(args, {});
    if (parsed.positional.size() > 1 || (parsed.sites && !parsed.positional.empty())) {
        throw UsageError("validate checks one file");
    }
    std::optional<std::string> named = parsed.sites;
    if (!parsed.positional.empty()) named = parsed.positional[0];
    const std::string path = named ? *named : UserDefinitionsPath(TheAppConfig());
    std::error_code ignored;
    if (!named && !std::filesystem::exists(path, ignored)) {
        std::printf(
            "There is no sites.toml: %s does not exist, so the built-in definitions "
            "apply.\n`sirelo-sitecheck init` writes a starter file there.\n",
            TerminalSafe(path).c_str());
    }
    LoadedDefinitions loaded = LoadDefinitionsFile(path, named.has_value());
    // A feed's [feed] table is only read once the rest of the file is clean.
    if (const std::optional<std::string> text = ReadWholeFile(path);
        text && loaded.problems.empty()) {
        loaded.problems = ReadFeedHeader(*text, path).problems;
    }
    for (const DefinitionProblem& problem : loaded.problems) {
        std::printf("%s\n", TerminalSafe(DescribeProblem(problem)).c_str());
    }
    for (const DefinitionProblem& warning : loaded.warnings) {
        std::printf("warning: %s\n", TerminalSafe(DescribeProblem(warning)).c_str());
    }
    std::fflush(stdout);
    std::string summary = Counted(loaded.problems.size(), "problem");
    if (!loaded.warnings.empty()) summary += ", " + Counted(loaded.warnings.size(), "warning");
    std::fprintf(stderr, "%s: %s\n", TerminalSafe(path).c_str(), summary.c_str());
    // The user's own setup also has its addresses in Configuration.ini.
    const bool refusedAddress = !named && !ApplyConfiguredAddresses(loaded.definitions);
    return loaded.problems.empty() && !refusedAddress ? 0 : 1;
}

constexpr std::string_view kStarterHead =
    "# sites.toml: your own site definitions for Sirelo, read at start-up over the\n"
    "# built-in ones; docs/sites.md and `man sirelo-sitecheck` tell every key.\n"
    "#\n"
    "# Every line here is a comment, so as it stands this file changes nothing.\n"
    "# To repair a site, take its tables out of the comments and keep only the keys\n"
    "# that change: a site table inherits every key it does not name. Then check\n"
    "# the file with `sirelo-sitecheck validate` and restart Sirelo.\n"
    "#\n"
    "# ===================================================== the built-in definitions\n";

constexpr std::string_view kStarterExample =
    "#\n"
    "# ========================================================== an added site\n"
    "# A site that is not built in gives every key a magnet site needs. This one\n"
    "# lists its results in table rows and pages with ?q=...&p=...; its names\n"
    "# hold HTML references such as &amp;, which the unescape step turns back.\n"
    "#\n"
    "# [magnet.Example]\n"
    "# label = \"Example\"\n"
    "# enabled = true\n"
    "# base = \"https://www.example.org\"\n"
    "# page = \"/search?q={keyword}&p={page}\"\n"
    "# encoding = \"utf-8\"\n"
    "# no_results = \"No results\"\n"
    "#\n"
    "# [magnet.Example.name]\n"
    "# start = '<td class=\"name\"><a href=\"/t/'\n"
    "# end = \"</a></td>\"\n"
    "# steps = [ { after_last = '\">' }, { unescape = \"html\" }, { trim = true } ]\n"
    "#\n"
    "# [magnet.Example.link]\n"
    "# start = '<a class=\"magnet\" href=\"'\n"
    "# end = '\"'\n"
    "# steps = [ { before = \"&amp;dn=\" } ]\n"
    "#\n"
    "# [magnet.Example.size]\n"
    "# start = '<td class=\"size\">'\n"
    "# end = \"</td>\"\n"
    "#\n"
    "# [magnet.Example.heat]\n"
    "# start = '<td class=\"seeders\">'\n"
    "# end = \"</td>\"\n"
    "#\n"
    "# [magnet.Example.created]\n"
    "# start = '<td class=\"date\">'\n"
    "# end = \"</td>\"\n";

// The starter file: the built-in definitions and the example, all as comments.
std::string StarterText() {
    std::string text(kStarterHead);
    const std::string_view builtIn = BuiltInDefinitionsText();
    for (std::size_t at = 0; at < builtIn.size();) {
        const std::size_t end = std::min(builtIn.find('\n', at), builtIn.size());
        const std::string_view line = builtIn.substr(at, end - at);
        text += line.empty() ? "#" : "# " + std::string(line);
        text += '\n';
        at = end + 1;
    }
    return text + std::string(kStarterExample);
}

// Writes the starter file to the user's path; a file already there is left alone.
int RunInit(const std::vector<std::string>& args) {
    if (!args.empty()) throw UsageError("init takes no arguments");
    const std::string path = UserDefinitionsPath(TheAppConfig());
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "sirelo-sitecheck: %s: %s\n", TerminalSafe(path).c_str(),
                     errno == EEXIST ? "is there already; init never overwrites a file"
                                     : "cannot be created");
        return 1;
    }
    const std::string text = StarterText();
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + written, text.size() - written);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) break;
        written += static_cast<std::size_t>(wrote);
    }
    const bool closed = ::close(fd) == 0;
    if (written < text.size() || !closed) {
        ::unlink(path.c_str());  // made by this call, so no one else's
        std::fprintf(stderr, "sirelo-sitecheck: %s: cannot be written\n",
                     TerminalSafe(path).c_str());
        return 1;
    }
    std::printf("%s\n", TerminalSafe(path).c_str());
    return 0;
}

const bool kDumpRegistered = RegisterSitecheckMode(
    {"dump", "   prints the built-in site definitions, the start of a sites.toml", RunDump});
const bool kValidateRegistered = RegisterSitecheckMode(
    {"validate", "[FILE]   checks a definitions file, by default the user's sites.toml",
     RunValidate});
const bool kInitRegistered = RegisterSitecheckMode(
    {"init",
     "   writes a starter sites.toml next to Configuration.ini: the built-ins as\n"
     "      comments and an example of an added site; a file already there stays",
     RunInit});

}  // namespace
}  // namespace sirelo::sitecheck
