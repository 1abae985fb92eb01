#include "text/regex_matcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstdint>
#include <memory>

#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

// Bounds one search: a hostile page must not keep a worker busy for minutes.
constexpr std::uint32_t kMatchLimit = 20'000'000;
constexpr std::size_t kJitStackBytes = 1u << 20;

struct CodeDeleter {
    void operator()(pcre2_code* p) const { pcre2_code_free(p); }
};
struct CompileContextDeleter {
    void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
struct JitStackDeleter {
    void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};

// Every step of a budgeted search passes here (the pattern is compiled with
// automatic callouts), so the steps of all searches over a page add up.
int CountStep(pcre2_callout_block*, void* data) {
    constexpr std::uint64_t kClockEvery = 1 << 16;
    auto* budget = static_cast<PageBudget*>(data);
    if (budget->matchSteps == 0 ||
        (--budget->matchSteps % kClockEvery == 0 && budget->pastDeadline())) {
        budget->matchSteps = 0;
        budget->matchesCut = true;
        return PCRE2_ERROR_CALLOUT;
    }
    return 0;
}

std::unique_ptr<pcre2_code, CodeDeleter> Compile(const std::string& utf8Pattern, bool caseSensitive,
                                                 bool multiline, bool countSteps = false) {
    std::unique_ptr<pcre2_compile_context, CompileContextDeleter> context(
        pcre2_compile_context_create(nullptr));
    if (!context) return nullptr;
    // Only a line feed ends a line, so "." stops at it and nowhere else.
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
    std::uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF;
    if (!caseSensitive) options |= PCRE2_CASELESS;
    if (multiline) options |= PCRE2_MULTILINE;
    if (countSteps) options |= PCRE2_AUTO_CALLOUT;
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    std::unique_ptr<pcre2_code, CodeDeleter> code(
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8Pattern.data()), utf8Pattern.size(), options,
                      &error, &errorOffset, context.get()));
    if (code) pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);  // falls back to the interpreter
    return code;
}

// The length of the UTF-8 character at `offset`, so that an empty match moves
// the search on by one whole character.
std::size_t CharacterLength(const std::string& s, std::size_t offset) {
    std::size_t length = 1;
    while (offset + length < s.size() &&
           (static_cast<unsigned char>(s[offset + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

}  // namespace

std::optional<int> PatternMinLength(std::string_view pattern) {
    const auto code = Compile(GbkToUtf8(pattern), false, true);
    std::uint32_t length = 0;
    if (!code || pcre2_pattern_info(code.get(), PCRE2_INFO_MINLENGTH, &length) != 0)
        return std::nullopt;
    return static_cast<int>(length);
}

bool RegexMatcher::Execute(std::string_view pattern, std::string_view subject, bool caseSensitive,
                           bool multiline, bool global, bool quoteEscape) {
    return Execute(pattern, subject,
                   {.caseSensitive = caseSensitive,
                    .multiline = multiline,
                    .global = global,
                    .quoteEscape = quoteEscape});
}

bool RegexMatcher::Execute(std::string_view pattern, std::string_view subject,
                           const MatchOptions& options) {
    matches_.clear();
    pattern_ = options.quoteEscape ? ReplaceText(pattern, Gbk("#引号"), "\"", 1, {}, true)
                                   : std::string(pattern);
    PageBudget* budget = options.budget;
    const auto code =
        Compile(GbkToUtf8(pattern_), options.caseSensitive, options.multiline, budget != nullptr);
    if (!code) return false;

    std::unique_ptr<pcre2_match_context, MatchContextDeleter> context(
        pcre2_match_context_create(nullptr));
    std::unique_ptr<pcre2_jit_stack, JitStackDeleter> jitStack(
        pcre2_jit_stack_create(32 * 1024, kJitStackBytes, nullptr));
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern(code.get(), nullptr));
    if (!context || !data) return true;
    pcre2_set_match_limit(context.get(), kMatchLimit);
    if (jitStack) pcre2_jit_stack_assign(context.get(), nullptr, jitStack.get());
    if (budget) pcre2_set_callout(context.get(), CountStep, budget);

    const std::string utf8 = GbkToUtf8(subject);
    const auto* begin = reinterpret_cast<PCRE2_SPTR>(utf8.data());
    std::size_t offset = 0;
    std::uint32_t flags = 0;
    while (offset <= utf8.size() && MatchCount() < options.maxMatches) {
        const int rc =
            pcre2_match(code.get(), begin, utf8.size(), offset, flags, data.get(), context.get());
        if (rc < 0) {
            if (rc == PCRE2_ERROR_NOMATCH && flags != 0 && offset < utf8.size()) {
                // No non-empty match where the empty one was: step one character on.
                offset += CharacterLength(utf8, offset);
                flags = 0;
                continue;
            }
            if (budget && rc == PCRE2_ERROR_MATCHLIMIT) budget->matchesCut = true;
            break;  // no further match, or a limit reached: keep what was found
        }
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
        const std::size_t start = ovector[0];
        const std::size_t end = ovector[1];
        if (end < start) break;  // \K tricks; nothing sensible to report
        matches_.push_back(Utf8ToGbk(std::string_view(utf8).substr(start, end - start)));
        if (!options.global) break;
        offset = end;
        flags = (end == start) ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
    }
    return true;
}

std::string RegexMatcher::MatchText(int i) const {
    if (i < 1 || i > MatchCount()) return {};
    return matches_[static_cast<std::size_t>(i - 1)];
}

}  // namespace sirelo
