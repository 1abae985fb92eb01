#pragma once
// A user's sites.toml that was not taken as a whole, in the window's words:
// said first in the tooltips of status pane 0 and of the site it keeps built in.

#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/definitions_loader.h"

namespace sirelo {

// "sites.toml 第12行：magnet.DSS.page: has no {keyword}；DSS 仍用内置定义", GBK: the
// first of `problems` that keeps site `siteId` built in (one of the whole file
// included), or with an empty `siteId` the first of all; empty when there is none.
std::string RejectedDefinitionsLine(const std::vector<DefinitionProblem>& problems,
                                    std::string_view siteId);

}  // namespace sirelo
