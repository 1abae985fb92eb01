#include "explain.h"

#include <string>
#include <utility>

#include "check_run.h"
#include "text/codepage.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace sirelo::sitecheck {
namespace {

constexpr std::size_t kShownCharacters = 60;

std::string Shown(std::string_view gbk) {
    return "\"" + Shortened(EscapeCell(gbk), kShownCharacters) + "\"";
}

// One line: the counts of both markers and of the pieces between them, and the
// first piece before and after its finishing steps.
void ExplainCut(const char* field, std::string_view page, std::string_view start,
                std::string_view end, const FinishSteps& steps, std::FILE* out) {
    const TextList pieces = ExtractAllBetween(page, start, end);
    std::fprintf(out, "%-8s start markers %zu, end markers %zu, pieces %zu", field,
                 CountOf(page, start), CountOf(page, end), pieces.size());
    if (!pieces.empty()) {
        std::fprintf(out, "; first %s", Shown(pieces.front()).c_str());
        if (!steps.empty()) {
            PageBudget budget;
            std::fprintf(out, " -> %s",
                         Shown(ApplyFinishing(pieces.front(), steps, budget)).c_str());
        }
    }
    std::fprintf(out, "\n");
}

// One line: the pattern's matches, and the field cut out of the first.
void ExplainPattern(const char* field, std::string_view page, const BoardField& rule,
                    PageBudget& budget, std::FILE* out) {
    RegexMatcher matcher;
    matcher.Execute(rule.pattern, page, {.budget = &budget});
    std::fprintf(out, "%-8s pattern matches %d%s", field, matcher.MatchCount(),
                 budget.matchesCut ? " (matching stopped: beyond its limit)" : "");
    if (matcher.MatchCount() > 0) {
        const std::string first = matcher.MatchText(1);
        std::fprintf(out, "; first %s -> %s", Shown(first).c_str(),
                     Shown(TextBetween(first, rule.startMarker, rule.endMarker)).c_str());
    }
    std::fprintf(out, "\n");
}

// A GBK text as a TOML string.
std::string Quoted(std::string_view gbk) {
    std::string text = "\"";
    for (const char c : GbkToUtf8(gbk)) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return TerminalSafe(text + "\"");
}

std::string StepsText(const FinishSteps& steps) {
    std::string text = "[";
    for (const FinishStep& step : steps) {
        const auto arg = [&step](std::size_t i) {
            return Quoted(i < step.args.size() ? step.args[i] : std::string());
        };
        text += text.size() > 1 ? ", { " : " { ";
        text += std::string(FinishStepName(step.kind)) + " = ";
        switch (step.kind) {
            case FinishKind::TextBefore:
            case FinishKind::TextAfterLast:
            case FinishKind::Prefix:
            case FinishKind::Append:
                text += arg(0);
                break;
            case FinishKind::TextBetween:
                text += "[" + arg(0) + ", " + arg(1) + "]";
                break;
            case FinishKind::ReplacePairs:
                text += "[";
                for (std::size_t i = 0; i + 1 < step.args.size(); i += 2)
                    text += (i > 0 ? ", [" : "[") + arg(i) + ", " + arg(i + 1) + "]";
                text += "]";
                break;
            case FinishKind::Trim:
                text += "true";
                break;
            case FinishKind::UnescapeHtml:
                text += "\"html\"";
                break;
        }
        text += " }";
    }
    return text + (steps.empty() ? "]" : " ]");
}

const char* EncodingText(PageEncoding encoding) {
    return encoding == PageEncoding::Gbk ? "\"gbk\"" : "\"utf-8\"";
}

// Prints one table's keys, each with its origin.
class DefinitionPrinter {
  public:
    DefinitionPrinter(std::string table, const DefinitionOrigins& origins, std::FILE* out)
        : table_(std::move(table)), origins_(origins), out_(out) {
        std::fprintf(out_, "[%s]\n", table_.c_str());
    }

    void key(const std::string& key, const std::string& value) {
        const std::string dotted = table_ + "." + key;
        const std::string origin = origins_.keys.contains(dotted) ? TerminalSafe(origins_.file)
                                   : origins_.feedKeys.contains(dotted) ? "feed"
                                                                        : "built in";
        std::fprintf(out_, "%s = %s   # %s\n", key.c_str(), value.c_str(), origin.c_str());
    }
    void text(const std::string& key, std::string_view gbk) { this->key(key, Quoted(gbk)); }

  private:
    std::string table_;
    const DefinitionOrigins& origins_;
    std::FILE* out_;
};

// The keys every site has, whatever its kind.
void PrintEntry(DefinitionPrinter& print, const SiteEntry& site) {
    print.text("label", site.label);
    print.key("enabled", site.enabled ? "true" : "false");
}

}  // namespace

void PrintMagnetDefinition(const MagnetSite& site, const std::string& table,
                           const DefinitionOrigins& origins, std::FILE* out) {
    DefinitionPrinter print(table, origins, out);
    PrintEntry(print, site);
    print.text("base", site.base);
    print.text("page", site.pagePath);
    print.key("encoding", EncodingText(site.encoding));
    print.text("no_results", site.noResults);
    print.key("delay_ms", std::to_string(site.pacing.delayMs));
    print.key("max_in_flight", std::to_string(site.pacing.maxInFlight));
    for (int f = 0; f < kFieldCount; ++f) {
        const std::string field(kFieldKeys[f]);
        print.text(field + ".start", site.fields[f].startMarker);
        print.text(field + ".end", site.fields[f].endMarker);
        print.key(field + ".steps", StepsText(site.fields[f].steps));
    }
}

void PrintOnlineDefinition(const OnlineSite& site, const std::string& table,
                           const DefinitionOrigins& origins, std::FILE* out) {
    DefinitionPrinter print(table, origins, out);
    PrintEntry(print, site);
    print.text("base", site.base);
    print.text("search", site.searchPath);
    print.text("form", site.form);
    print.key("encoding", EncodingText(site.encoding));
    print.text("hit", site.hitPattern);
    print.key("scroll", site.scrollsNewRows ? "true" : "false");
    print.text("no_results", site.noResults);
    print.key("delay_ms", std::to_string(site.pacing.delayMs));
    print.key("max_in_flight", std::to_string(site.pacing.maxInFlight));
    print.text("detail.start", site.detailStart);
    print.text("detail.end", site.detailEnd);
    print.text("name.start", site.nameStart);
    print.text("name.end", site.nameEnd);
    if (site.blockStart.empty()) {
        print.key("block", "false");
    } else {
        print.text("block.start", site.blockStart);
        print.text("block.end", site.blockEnd);
        print.text("block.prefix", site.blockPrefix);
        print.text("block.suffix", site.blockSuffix);
    }
    print.text("item.start", site.itemStart);
    print.text("item.end", site.itemEnd);
    print.key("item.info", StepsText(site.info));
    print.key("item.address", StepsText(site.addressPath));
}

void PrintBoardDefinition(const BoardDefinition& board, const DefinitionOrigins& origins,
                          std::FILE* out) {
    DefinitionPrinter print("board", origins, out);
    print.text("base", board.base);
    print.text("page", board.pagePath);
    print.key("encoding", EncodingText(board.encoding));
    const std::pair<const char*, const BoardField*> fields[] = {{"name", &board.name},
                                                                {"poster", &board.poster},
                                                                {"date", &board.date},
                                                                {"score", &board.score}};
    for (const auto& [name, field] : fields) {
        const std::string key = name;
        print.text(key + ".pattern", field->pattern);
        print.text(key + ".start", field->startMarker);
        print.text(key + ".end", field->endMarker);
    }
    print.text("score.fraction_start", board.fractionStart);
    print.text("score.fraction_end", board.fractionEnd);
    print.text("stars.start", board.starsStart);
    print.text("stars.end", board.starsEnd);
    print.text("stars.label", board.starsLabel);
    print.text("stars.separator", board.starsSeparator);
}

void ExplainMagnetPage(const MagnetSite& site, std::string_view page, std::FILE* out) {
    std::fprintf(out, "page: %zu bytes as GBK\n", page.size());
    for (int f = 0; f < kFieldCount; ++f) {
        const FieldRule& rule = site.fields[f];
        ExplainCut(std::string(kFieldKeys[f]).c_str(), page, rule.startMarker, rule.endMarker,
                   rule.steps, out);
    }
    if (!site.noResults.empty()) {
        std::fprintf(out, "no_results %s\n", CountOf(page, site.noResults) ? "found" : "not found");
    }
}

void ExplainBoardPage(const BoardDefinition& board, std::string_view page, std::FILE* out) {
    std::fprintf(out, "page: %zu bytes as GBK\n", page.size());
    PageBudget budget;
    ExplainPattern("name", page, board.name, budget, out);
    ExplainPattern("poster", page, board.poster, budget, out);
    ExplainPattern("date", page, board.date, budget, out);
    ExplainPattern("score", page, board.score, budget, out);
    ExplainCut("stars", page, board.starsStart, board.starsEnd, {}, out);
}

}  // namespace sirelo::sitecheck
