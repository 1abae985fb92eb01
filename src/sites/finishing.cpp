#include "sites/finishing.h"

#include <cstddef>
#include <utility>

#include "text/codepage.h"
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
    }
    return piece;
}

FinishStep Step(FinishKind kind, std::vector<std::string_view> utf8Args) {
    FinishStep step{kind, {}};
    for (std::string_view arg : utf8Args)
        step.args.push_back(Gbk(arg));
    return step;
}

}  // namespace

std::string ApplyFinishing(std::string piece, const FinishSteps& steps) {
    for (const FinishStep& step : steps)
        piece = ApplyStep(piece, step);
    return piece;
}

FinishStep Before(std::string_view marker) {
    return Step(FinishKind::TextBefore, {marker});
}
FinishStep Between(std::string_view startMarker, std::string_view endMarker) {
    return Step(FinishKind::TextBetween, {startMarker, endMarker});
}
FinishStep AfterLast(std::string_view marker) {
    return Step(FinishKind::TextAfterLast, {marker});
}
FinishStep Replace(std::vector<std::string_view> findThenReplacement) {
    return Step(FinishKind::ReplacePairs, std::move(findThenReplacement));
}
FinishStep Prefix(std::string_view text) {
    return Step(FinishKind::Prefix, {text});
}

}  // namespace sirelo
