#pragma once
// One regular-expression search over one GBK text, with the matches handed out
// by number. By default matching ignores case, "^" and "$" match at line breaks,
// every match is found, and "." never matches a line feed. Runs on PCRE2 over
// the subject's UTF-8 form, with a match limit so that no page can make it run
// away: a search that hits the limit keeps the matches found before it.

#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

class RegexMatcher {
  public:
    // False when the pattern does not compile; the matches are then empty.
    // With quoteEscape, each "#引号" in the pattern stands for a double quote.
    bool Execute(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
                 bool multiline = true, bool global = true, bool quoteEscape = false);

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
