#include "check_run.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "config/app_config.h"
#include "config/network_settings.h"
#include "net/http_proxy.h"
#include "sitecheck_modes.h"
#include "sitedefs/definition_layers.h"
#include "sitedefs/site_roster.h"
#include "text/codepage.h"

namespace sirelo::sitecheck {

CheckArgs ParseCheckArgs(const std::vector<std::string>& args,
                         const std::set<std::string>& knownFlags) {
    CheckArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool withValue = arg == "--base" || arg == "--sites" || arg == "--proxy" ||
                               (arg == "--page" && knownFlags.contains(arg));
        if (withValue && i + 1 >= args.size()) throw UsageError(arg + " needs a value");
        if (arg == "--sites") {
            parsed.sites = args[++i];
        } else if (arg == "--proxy") {
            parsed.proxy = args[++i];
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

SiteDefinitions CheckDefinitions(const CheckArgs& args, DefinitionOrigins* origins) {
    DefinitionLayers layers = LoadDefinitionLayers(TheAppConfig(), {args.sites});
    if (layers.feed && !layers.cachedFeed.whyNotInForce.empty()) {
        std::fprintf(stderr, "sirelo-sitecheck: %s: %s\n", layers.feedCache.file.c_str(),
                     TerminalSafe(layers.cachedFeed.whyNotInForce).c_str());
    }
    for (const DefinitionProblem& problem : layers.userProblems) {
        std::fprintf(stderr, "sirelo-sitecheck: %s\n",
                     TerminalSafe(DescribeProblem(problem)).c_str());
    }
    for (const DefinitionProblem& warning : layers.userWarnings) {
        std::fprintf(stderr, "sirelo-sitecheck: warning: %s\n",
                     TerminalSafe(DescribeProblem(warning)).c_str());
    }
    if (origins) {
        origins->file = std::filesystem::path(layers.userFile).filename().string();
        origins->keys = std::move(layers.userKeys);
        if (layers.cachedFeed.copy) origins->feedKeys = layers.cachedFeed.copy->fileKeys;
    }
    return std::move(layers.definitions);
}

void UseProxy(const CheckArgs& args) {
    SetHttpProxy(args.proxy ? *args.proxy : ReadProxySetting(TheAppConfig()));
}

TransferOutcome SavedPageTransfer(std::string_view bytes) {
    TransferOutcome transfer;
    transfer.end = TransferEnd::Answered;
    transfer.bytesReceived = bytes.size();
    return transfer;
}

bool ApplyConfiguredAddresses(SiteDefinitions& definitions) {
    const std::vector<RefusedAddress> refusedAddresses =
        ApplySiteAddresses(TheAppConfig(), definitions);
    for (const RefusedAddress& refused : refusedAddresses) {
        std::fprintf(stderr,
                     "sirelo-sitecheck: %s: [站点地址] %s = %s: wants http:// or https://, a host "
                     "and an optional port, and nothing else; the built-in %s is used\n",
                     TheAppConfig().configFilePath().c_str(), refused.key.c_str(),
                     TerminalSafe(GbkToUtf8(refused.value)).c_str(), refused.builtIn.c_str());
    }
    return refusedAddresses.empty();
}

int PageNumber(const std::string& text) {
    int page = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), page);
    if (error != std::errc() || end != text.data() + text.size() || page < 1) {
        throw UsageError("PAGE is a whole number from 1 on, not " + text);
    }
    return page;
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

CheckRun::CheckRun(const SiteDefinitions& definitions, std::string keyword)
    : context{run, magnetList, onlineList, settings, definitions, {}} {
    run.setKeyword(std::move(keyword));
}

namespace {

// The length of the well-formed UTF-8 character at `at`, 0 when there is none.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(at);
    const std::size_t length = lead < 0x80    ? 1
                               : lead >= 0xF0 ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC2 ? 2
                                              : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) return 0;
    }
    return length;
}

void AppendHex(std::string& out, unsigned value) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", value);
    out += hex;
}

// `utf8` with C0 controls, DEL, C1 controls and malformed bytes written \xNN;
// with `cell`, also \ TAB CR LF written \\ \t \r \n as the rows always had them.
std::string Escaped(std::string_view utf8, bool cell) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = utf8[i];
        const std::size_t length = Utf8CharacterLength(utf8, i);
        if (cell && (c == '\\' || c == '\t' || c == '\r' || c == '\n')) {
            out += c == '\\' ? "\\\\" : c == '\t' ? "\\t" : c == '\r' ? "\\r" : "\\n";
        } else if (length == 0) {
            AppendHex(out, static_cast<unsigned char>(c));
        } else if (length == 1 && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)) {
            AppendHex(out, static_cast<unsigned char>(c));
        } else if (length == 2 && static_cast<unsigned char>(c) == 0xC2 &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            AppendHex(out, static_cast<unsigned char>(utf8[i + 1]));  // U+0080..U+009F
        } else {
            out.append(utf8, i, length);
        }
        i += std::max<std::size_t>(length, 1);
    }
    return out;
}

}  // namespace

std::string TerminalSafe(std::string_view utf8) {
    return Escaped(utf8, false);
}

std::string EscapeCell(std::string_view gbk) {
    return Escaped(GbkToUtf8(gbk), true);
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

void PrintSummary(const CheckRun& check, const PageOutcome& outcome, int rows, bool exhausted) {
    std::fflush(stdout);
    std::fprintf(stderr,
                 "%s rows: %d, filtered links: %d, filtered items: %d, site exhausted: %s\n",
                 VerdictWord(Verdict(outcome)), rows, check.run.filteredLinks.load(),
                 check.run.filteredItems.load(), exhausted ? "yes" : "no");
}

}  // namespace sirelo::sitecheck
