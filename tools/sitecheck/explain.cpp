#include "explain.h"

#include <array>
#include <string>

#include "check_run.h"
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

}  // namespace

void ExplainMagnetPage(const MagnetSite& site, std::string_view page, std::FILE* out) {
    constexpr std::array<const char*, kFieldCount> kNames{"name", "link", "size", "heat",
                                                          "created"};
    std::fprintf(out, "page: %zu bytes as GBK\n", page.size());
    for (int f = 0; f < kFieldCount; ++f) {
        const FieldRule& rule = site.fields[f];
        ExplainCut(kNames[f], page, rule.startMarker, rule.endMarker, rule.steps, out);
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
