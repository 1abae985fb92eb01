#pragma once
// Finishing steps: the small edits a site definition applies to a piece cut out
// of a page before it becomes a cell. Steps are data; one routine applies them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/page_budget.h"

namespace sirelo {

enum class FinishKind {
    TextBefore,     // args: marker
    TextBetween,    // args: start marker, end marker
    TextAfterLast,  // args: marker
    ReplacePairs,   // args: find 1, replacement 1, find 2, replacement 2, ... (ASCII case ignored)
    Prefix,         // args: the text put in front
    Append,         // args: the text put behind
    Trim,           // no args: spaces at both ends go
    UnescapeHtml,   // no args: HTML character references become their characters
};

// The name a definitions file gives each step, { name = argument }.
std::string_view FinishStepName(FinishKind kind);
// The step of that name; none for a name that is no step.
std::optional<FinishKind> FinishKindNamed(std::string_view name);

struct FinishStep {
    FinishKind kind;
    std::vector<std::string> args;  // GBK texts
    friend bool operator==(const FinishStep&, const FinishStep&) = default;
};

// No steps keeps the piece unchanged.
using FinishSteps = std::vector<FinishStep>;

// The finished piece, at most kFinishedPieceLimit bytes: a step that would
// grow it beyond stops there. Each step's reading and writing is drawn from
// `budget`; a step it cannot pay for is not made and gives an empty piece.
std::string ApplyFinishing(std::string piece, const FinishSteps& steps, PageBudget& budget);

// The finished cells of one item, kept when the page's budget still allows
// them: its finishing work paid, its text within what the page may hold, and
// its deadline not passed. False spends nothing of the text.
bool KeepFinishedItem(std::size_t itemBytes, PageBudget& budget);

}  // namespace sirelo
