#pragma once
// One regular-expression search over one GBK text, with the matches handed out
// by number. By default matching ignores case, "^" and "$" match at line breaks,
// every match is found, and "." never matches a line feed. Runs on PCRE2 over
// the subject's UTF-8 form, with a match limit so that no page can make it run
// away: a search that hits the limit keeps the matches found before it.

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/page_budget.h"

namespace sirelo {

struct MatchOptions {
    bool caseSensitive = false;
    bool multiline = true;
    bool global = true;
    bool quoteEscape = false;  // each "#引号" in the pattern stands for a double quote
    int maxMatches = std::numeric_limits<int>::max();
    // Steps and deadline shared by every search over one page; when they run
    // out the search stops, keeps its matches and sets `matchesCut`.
    PageBudget* budget = nullptr;
};

// The least number of characters a match of the GBK pattern can have;
// nothing when the pattern does not compile.
std::optional<int> PatternMinLength(std::string_view pattern);

class RegexMatcher {
  public:
    // False when the pattern does not compile; the matches are then empty.
    // With quoteEscape, each "#引号" in the pattern stands for a double quote.
    bool Execute(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
                 bool multiline = true, bool global = true, bool quoteEscape = false);
    bool Execute(std::string_view pattern, std::string_view subject, const MatchOptions& options);

    int MatchCount() const { return static_cast<int>(matches_.size()); }
    // Match i (1-based) as GBK text; empty when i is out of range.
    std::string MatchText(int i) const;
    // The pattern of the last Execute; empty before the first.
    const std::string& CurrentPattern() const { return pattern_; }

  private:
    std::string pattern_;
    std::vector<std::string> matches_;
};

}  // namespace sirelo
