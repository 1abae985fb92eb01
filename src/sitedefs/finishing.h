#pragma once
// Finishing steps: the small edits a site definition applies to a piece cut out
// of a page before it becomes a cell. Steps are data; one routine applies them.

#include <string>
#include <vector>

namespace sirelo {

enum class FinishKind {
    TextBefore,     // args: marker
    TextBetween,    // args: start marker, end marker
    TextAfterLast,  // args: marker
    ReplacePairs,   // args: find 1, replacement 1, find 2, replacement 2, ... (ASCII case ignored)
    Prefix,         // args: the text put in front
    Append,         // args: the text put behind
    Trim,           // no args: spaces at both ends go
};

struct FinishStep {
    FinishKind kind;
    std::vector<std::string> args;  // GBK texts
    friend bool operator==(const FinishStep&, const FinishStep&) = default;
};

// No steps keeps the piece unchanged.
using FinishSteps = std::vector<FinishStep>;

std::string ApplyFinishing(std::string piece, const FinishSteps& steps);

}  // namespace sirelo
