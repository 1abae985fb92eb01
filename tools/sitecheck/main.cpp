// sirelo-sitecheck: runs one site worker of the program against a site and
// prints the rows it finds, and checks site definitions files: the doctor for
// keeping the site definitions up to date.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "sitecheck_modes.h"

namespace sirelo::sitecheck {
namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const SitecheckMode& mode : SitecheckModes()) {
        std::fprintf(out, "  sirelo-sitecheck %s %s\n", mode.name.c_str(), mode.usage.c_str());
    }
    std::fprintf(
        out,
        "  sirelo-sitecheck --help | -h   prints this\n"
        "Options of the modes that read definitions or ask sites:\n"
        "  --sites FILE   the site definitions of FILE instead of the user's sites.toml\n"
        "  --proxy URL    every request through this proxy (http://, socks5:// or\n"
        "                 socks5h:// host:port) instead of [网络] 代理 of Configuration.ini\n"
        "Rows go to stdout, one a line, cells separated by TAB, in UTF-8; a summary\n"
        "goes to stderr. Without --base the site's address comes from [站点地址]\n"
        "of Configuration.ini, else from the site definitions, as in the program.\n"
        "Every mode reads the cached definitions feed and the user's sites.toml next\n"
        "to Configuration.ini as the program does.\n");
}

int Usage(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "sirelo-sitecheck: %s\n", problem.c_str());
    PrintUsage(stderr);
    return 2;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) return Usage("no mode given");
    if (std::any_of(args.begin(), args.end(),
                    [](const std::string& arg) { return arg == "--help" || arg == "-h"; })) {
        PrintUsage(stdout);
        return 0;
    }
    for (const SitecheckMode& mode : SitecheckModes()) {
        if (mode.name != args[0]) continue;
        try {
            return mode.run({args.begin() + 1, args.end()});
        } catch (const UsageError& error) {
            return Usage(error.what());
        }
    }
    return Usage("unknown mode " + args[0]);
}

}  // namespace
}  // namespace sirelo::sitecheck

int main(int argc, char** argv) {
    return sirelo::sitecheck::Run(std::vector<std::string>(argv + 1, argv + argc));
}
