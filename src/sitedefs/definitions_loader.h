#pragma once
// Reading a definitions file (TOML, UTF-8) into the site records. A file's
// table for a site replaces the keys it names and keeps every other value of
// the definitions it is applied over (all of them with `inherit = false`); a
// table for an id not yet known adds a site and must give every key. A site table with any problem
// leaves that site as it was, and the file's other sites still apply; a file that does not parse
// changes nothing. Problems come back as values.

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/site_definitions.h"

namespace sirelo {

struct DefinitionProblem {
    std::string file;
    long line = 0;             // 1-based; 0 when the problem has no place in the file
    std::string key;           // dotted, as the file writes it: "magnet.DSS.name.start"
    std::string words;         // English, for the site doctor and stderr
    std::string wordsZh = {};  // the same in Chinese, for the window
};

// "file:line: key: words", in UTF-8.
std::string DescribeProblem(const DefinitionProblem& problem);

// A key as a definitions file writes it: quoted unless it is a bare key.
std::string KeyText(std::string_view key);

// The site whose table holds the problem, as the file names it ("DSS",
// "乐享电影网", "board"); empty for a problem of the whole file or of no site.
std::string ProblemSite(const DefinitionProblem& problem);

struct LoadedDefinitions {
    SiteDefinitions definitions;
    std::vector<DefinitionProblem> problems;
    // What is applied all the same but is likely a slip: a magnet page without {page}.
    std::vector<DefinitionProblem> warnings;
    // Every key the file set in the site tables it applied, dotted as problems
    // name them ("magnet.DSS.name", "magnet.DSS.name.start").
    std::set<std::string> fileKeys;
};

// Every site with its index and label and nothing else: what the built-in
// file is applied over.
SiteDefinitions BlankSiteDefinitions();

// Whose file is applied: a table of the user's file marks its site as
// defined by the user (SiteEntry::userTable).
enum class DefinitionsOrigin { BuiltIn, User };

// `text` applied over `base`; `fileName` names the file in the problems.
LoadedDefinitions ApplyDefinitions(const SiteDefinitions& base, std::string_view text,
                                   std::string_view fileName,
                                   DefinitionsOrigin origin = DefinitionsOrigin::BuiltIn);

}  // namespace sirelo
