#include "check_run.h"

#include <fstream>
#include <sstream>
#include <utility>

#include "config/app_config.h"
#include "sitecheck_modes.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {

CheckArgs ParseCheckArgs(const std::vector<std::string>& args,
                         const std::set<std::string>& knownFlags) {
    CheckArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool withValue =
            arg == "--base" || arg == "--sites" || (arg == "--page" && knownFlags.contains(arg));
        if (withValue && i + 1 >= args.size()) throw UsageError(arg + " needs a value");
        if (arg == "--sites") {
            parsed.sites = args[++i];
        } else if (arg == "--page" && withValue) {
            parsed.page = args[++i];
        } else if (arg == "--base") {
            std::string url = args[++i];
            if (!url.starts_with("http://") && !url.starts_with("https://")) {
                throw UsageError("--base wants an http:// or https:// address, not " + url);
            }
            while (url.ends_with('/'))
                url.pop_back();
            parsed.base = std::move(url);
        } else if (knownFlags.contains(arg)) {
            parsed.flags.insert(arg);
        } else if (arg.starts_with("--")) {
            throw UsageError("unknown option " + arg);
        } else {
            parsed.positional.push_back(arg);
        }
    }
    return parsed;
}

SiteDefinitions CheckDefinitions(const CheckArgs& args) {
    LoadedDefinitions loaded =
        args.sites ? LoadDefinitionsFile(*args.sites, true)
                   : LoadDefinitionsFile(UserDefinitionsPath(TheAppConfig()), false);
    for (const DefinitionProblem& problem : loaded.problems) {
        std::fprintf(stderr, "sirelo-sitecheck: %s\n", DescribeProblem(problem).c_str());
    }
    return std::move(loaded.definitions);
}

SiteAddresses ConfiguredAddresses(const SiteDefinitions& definitions) {
    return ReadSiteAddresses(TheAppConfig(), DefinedAddresses(definitions));
}

std::string SavedPage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError("cannot read the page " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Shortened(const std::string& utf8, std::size_t characters) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < utf8.size() && count < characters; ++count) {
        ++at;
        while (at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80)
            ++at;
    }
    return at < utf8.size() ? utf8.substr(0, at) + "..." : utf8;
}

std::size_t CountOf(std::string_view text, std::string_view marker) {
    std::size_t count = 0;
    if (marker.empty()) return count;
    for (std::size_t at = text.find(marker); at != text.npos; at = text.find(marker, at))
        ++count, at += marker.size();
    return count;
}

CheckRun::CheckRun(const SiteDefinitions& definitions, SiteAddresses addresses, std::string keyword)
    : context{run, magnetList, onlineList, settings, definitions, std::move(addresses), {}} {
    run.setKeyword(std::move(keyword));
}

std::string EscapeCell(std::string_view gbk) {
    std::string escaped;
    for (char c : GbkToUtf8(gbk)) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\n':
                escaped += "\\n";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

void PrintRows(const ResultList& list, std::FILE* out) {
    const int rows = list.RowCount();
    for (int row = 0; row < rows; ++row) {
        std::string line;
        for (int column = 0; column < list.columnCount(); ++column) {
            if (column > 0) line += '\t';
            line += EscapeCell(list.CellText(row, column));
        }
        line += '\n';
        std::fputs(line.c_str(), out);
    }
}

void PrintSummary(const CheckRun& check, int rows, bool exhausted) {
    std::fflush(stdout);
    std::fprintf(stderr, "rows: %d, filtered links: %d, filtered items: %d, site exhausted: %s\n",
                 rows, check.run.filteredLinks.load(), check.run.filteredItems.load(),
                 exhausted ? "yes" : "no");
}

}  // namespace sirelo::sitecheck
