#include "sitedefs/finishing.h"

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

#include "text/html_references.h"
#include "text/text.h"

namespace sirelo {
namespace {

constexpr std::array<std::pair<FinishKind, std::string_view>, 8> kStepNames{{
    {FinishKind::TextBefore, "before"},
    {FinishKind::TextBetween, "between"},
    {FinishKind::TextAfterLast, "after_last"},
    {FinishKind::ReplacePairs, "replace"},
    {FinishKind::Prefix, "prefix"},
    {FinishKind::Append, "append"},
    {FinishKind::Trim, "trim"},
    {FinishKind::UnescapeHtml, "unescape"},
}};

// A step whose arguments are short of its kind's count gives an empty piece.
const std::string& Arg(const FinishStep& step, std::size_t i) {
    static const std::string kNone;
    return i < step.args.size() ? step.args[i] : kNone;
}

// Reading `text` once, paid from the budget; false when it cannot be paid.
bool PayToRead(const std::string& text, PageBudget& budget) {
    if (budget.finishWork < text.size()) {
        budget.finishWork = 0;
        return false;
    }
    budget.finishWork -= text.size();
    return true;
}

std::optional<std::string> ApplyStep(const std::string& piece, const FinishStep& step,
                                     PageBudget& budget) {
    constexpr std::size_t kLimit = kFinishedPieceLimit;
    if (!PayToRead(piece, budget)) return std::nullopt;
    switch (step.kind) {
        case FinishKind::TextBefore:
            return TextBefore(piece, Arg(step, 0));
        case FinishKind::TextBetween:
            return TextBetween(piece, Arg(step, 0), Arg(step, 1));
        case FinishKind::TextAfterLast:
            return TextAfterLast(piece, Arg(step, 0));
        case FinishKind::ReplacePairs: {
            std::string text = ReplaceText(piece, Arg(step, 0), Arg(step, 1), 1, {}, false, kLimit);
            for (std::size_t i = 2; i < step.args.size(); i += 2) {
                if (!PayToRead(text, budget)) return std::nullopt;
                text = ReplaceText(text, Arg(step, i), Arg(step, i + 1), 1, {}, false, kLimit);
            }
            return text;
        }
        case FinishKind::Prefix:
            return std::string(TextCutAt(Arg(step, 0) + piece, kLimit));
        case FinishKind::Append:
            return std::string(TextCutAt(piece + Arg(step, 0), kLimit));
        case FinishKind::Trim:
            return TrimSpaces(piece);
        case FinishKind::UnescapeHtml:
            return UnescapeHtml(piece);  // never longer than the piece
    }
    return piece;
}

}  // namespace

std::string_view FinishStepName(FinishKind kind) {
    for (const auto& [each, name] : kStepNames) {
        if (each == kind) return name;
    }
    return {};
}

std::optional<FinishKind> FinishKindNamed(std::string_view name) {
    for (const auto& [kind, each] : kStepNames) {
        if (each == name) return kind;
    }
    return std::nullopt;
}

std::string ApplyFinishing(std::string piece, const FinishSteps& steps, PageBudget& budget) {
    for (const FinishStep& step : steps) {
        std::optional<std::string> finished = ApplyStep(piece, step, budget);
        if (!finished) return {};
        piece = std::move(*finished);
    }
    piece.resize(TextCutAt(piece, kFinishedPieceLimit).size());
    return piece;
}

bool KeepFinishedItem(std::size_t itemBytes, PageBudget& budget) {
    if (budget.finishWork == 0 || itemBytes > budget.finishedText || budget.pastDeadline())
        return false;
    budget.finishedText -= itemBytes;
    return true;
}

}  // namespace sirelo
