#pragma once
// Finishing steps: the small edits a site descriptor applies to a piece cut out
// of a page before it becomes a cell. Steps are data; one routine applies them.

#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

enum class FinishKind {
    TextBefore,     // args: marker
    TextBetween,    // args: start marker, end marker
    TextAfterLast,  // args: marker
    ReplacePairs,   // args: find 1, replacement 1, find 2, replacement 2, ... (ASCII case ignored)
    Prefix,         // args: the text put in front
};

struct FinishStep {
    FinishKind kind;
    std::vector<std::string> args;  // GBK texts
};

// No steps keeps the piece unchanged.
using FinishSteps = std::vector<FinishStep>;

std::string ApplyFinishing(std::string piece, const FinishSteps& steps);

// Step builders taking UTF-8 source text and holding it as GBK.
FinishStep Before(std::string_view marker);
FinishStep Between(std::string_view startMarker, std::string_view endMarker);
FinishStep AfterLast(std::string_view marker);
FinishStep Replace(std::vector<std::string_view> findThenReplacement);
FinishStep Prefix(std::string_view text);

}  // namespace sirelo
