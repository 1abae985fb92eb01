#include "sitedefs/finishing.h"

#include <cstddef>

#include "text/text.h"

namespace sirelo {
namespace {

// A step whose arguments are short of its kind's count gives an empty piece.
const std::string& Arg(const FinishStep& step, std::size_t i) {
    static const std::string kNone;
    return i < step.args.size() ? step.args[i] : kNone;
}

std::string ApplyStep(const std::string& piece, const FinishStep& step) {
    switch (step.kind) {
        case FinishKind::TextBefore:
            return TextBefore(piece, Arg(step, 0));
        case FinishKind::TextBetween:
            return TextBetween(piece, Arg(step, 0), Arg(step, 1));
        case FinishKind::TextAfterLast:
            return TextAfterLast(piece, Arg(step, 0));
        case FinishKind::ReplacePairs: {
            std::string text = piece;
            for (std::size_t i = 0; i < step.args.size(); i += 2) {
                text = ReplacePairs(text, {{Arg(step, i), Arg(step, i + 1)}});
            }
            return text;
        }
        case FinishKind::Prefix:
            return Arg(step, 0) + piece;
        case FinishKind::Append:
            return piece + Arg(step, 0);
        case FinishKind::Trim:
            return TrimSpaces(piece);
    }
    return piece;
}

}  // namespace

std::string ApplyFinishing(std::string piece, const FinishSteps& steps) {
    for (const FinishStep& step : steps)
        piece = ApplyStep(piece, step);
    return piece;
}

}  // namespace sirelo
