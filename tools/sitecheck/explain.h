#pragma once
// --explain: how a definition meets one page, field by field, so that the field
// whose markers no longer match is plain to see. Printed before the rows.

#include <cstdio>
#include <string_view>

#include "check_run.h"
#include "sitedefs/site_definitions.h"

namespace sirelo::sitecheck {

// The definition the site runs with, one key a line as a definitions file
// writes it under the header `table` ("magnet.DSS"), each key marked with
// where it came from: the file of `origins`, or built in.
void PrintMagnetDefinition(const MagnetSite& site, const std::string& table,
                           const DefinitionOrigins& origins, std::FILE* out);
void PrintOnlineDefinition(const OnlineSite& site, const std::string& table,
                           const DefinitionOrigins& origins, std::FILE* out);
void PrintBoardDefinition(const BoardDefinition& board, const DefinitionOrigins& origins,
                          std::FILE* out);

// `page` is the GBK text the worker cuts.
void ExplainMagnetPage(const MagnetSite& site, std::string_view page, std::FILE* out);
void ExplainBoardPage(const BoardDefinition& board, std::string_view page, std::FILE* out);

}  // namespace sirelo::sitecheck
