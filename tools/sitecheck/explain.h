#pragma once
// --explain: how a definition meets one page, field by field, so that the field
// whose markers no longer match is plain to see. Printed before the rows.

#include <cstdio>
#include <string_view>

#include "sitedefs/site_definitions.h"

namespace sirelo::sitecheck {

// `page` is the GBK text the worker cuts.
void ExplainMagnetPage(const MagnetSite& site, std::string_view page, std::FILE* out);
void ExplainBoardPage(const BoardDefinition& board, std::string_view page, std::FILE* out);

}  // namespace sirelo::sitecheck
