#include "check_run.h"

#include <utility>

#include "config/app_config.h"
#include "sitecheck_modes.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {

CheckArgs ParseCheckArgs(const std::vector<std::string>& args,
                         const std::set<std::string>& knownFlags) {
    CheckArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--base") {
            if (i + 1 >= args.size()) throw UsageError("--base needs a URL");
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

SiteAddresses ConfiguredAddresses() {
    return ReadSiteAddresses(TheAppConfig());
}

CheckRun::CheckRun(SiteAddresses addresses, std::string keyword)
    : context{run, magnetList, onlineList, settings, std::move(addresses), {}} {
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
