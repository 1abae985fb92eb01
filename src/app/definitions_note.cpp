#include "app/definitions_note.h"

#include <filesystem>

#include "text/codepage.h"

namespace sirelo {

std::string RejectedDefinitionsLine(const std::vector<DefinitionProblem>& problems,
                                    std::string_view siteId) {
    for (const DefinitionProblem& problem : problems) {
        const std::string site = ProblemSite(problem);
        const bool wholeFile = problem.key.empty();
        if (!siteId.empty() && site != siteId && !wholeFile) continue;
        std::string line = std::filesystem::path(problem.file).filename().string();
        if (problem.line > 0) line += " 第" + std::to_string(problem.line) + "行";
        line += "：";
        if (!problem.key.empty()) line += problem.key + "：";
        line += problem.wordsZh.empty() ? problem.words : problem.wordsZh;
        if (wholeFile) {
            line += "；全部站点仍用内置定义";
        } else if (!site.empty()) {
            line += "；" + (site == "board" ? std::string("院线热映") : site) + " 仍用内置定义";
        }
        return Utf8ToGbk(line);
    }
    return {};
}

}  // namespace sirelo
