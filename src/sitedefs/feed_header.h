#pragma once
// The table [feed] a definitions feed may carry: its version, a text, and the
// oldest program that can take it, "x.y.z".

#include <string>
#include <string_view>
#include <vector>

#include "sitedefs/definitions_loader.h"

namespace sirelo {

struct FeedHeader {
    std::string version;         // empty when the file names none
    std::string minimumProgram;  // empty when the file names none
    std::vector<DefinitionProblem> problems;
};

// `text` must have loaded without a problem (ApplyDefinitions), so it parses.
FeedHeader ReadFeedHeader(std::string_view text, std::string_view fileName);

// Whether version `have` ("x.y.z", numbers compared) is older than `want`.
bool OlderProgram(std::string_view have, std::string_view want);

}  // namespace sirelo
