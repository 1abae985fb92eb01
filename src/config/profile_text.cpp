#include "config/profile_text.h"

#include <optional>
#include <vector>

namespace sirelo {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

using Line = ProfileLine;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// ASCII case is ignored, but only in one-byte characters: the trail byte of a
// GBK character may look like a letter.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (static_cast<unsigned char>(a[i]) >= 0x80 && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (pos < text.size()) {
        Line line{pos, pos, pos};
        std::size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) stop = text.size();
        line.contentEnd = stop;
        if (stop < text.size()) {
            bool crlf = text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n';
            stop += crlf ? 2 : 1;
        }
        line.end = stop;
        lines.push_back(line);
        pos = stop;
    }
    return lines;
}

std::string_view Content(std::string_view text, const Line& line) {
    return Trimmed(text.substr(line.begin, line.contentEnd - line.begin));
}

// The name inside "[...]", up to the last "]"; nothing when the line is no header.
std::optional<std::string_view> SectionName(std::string_view content) {
    if (content.empty() || content.front() != '[') return std::nullopt;
    std::size_t close = content.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return content.substr(1, close - 1);
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

// A line that is neither blank nor a header is a key; without "=" its value is empty.
KeyLine SplitKeyLine(std::string_view content) {
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return {content, {}};
    return {Trimmed(content.substr(0, equals)), Trimmed(content.substr(equals + 1))};
}

struct SectionSpan {
    std::size_t header;     // index of the header line
    std::size_t endBefore;  // index of the next header, or the line count
};

std::optional<SectionSpan> FindSection(std::string_view text, const std::vector<Line>& lines,
                                       std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(Content(text, lines[i]));
        if (!name || !SameName(*name, section)) continue;
        std::size_t next = i + 1;
        while (next < lines.size() && !SectionName(Content(text, lines[next])))
            ++next;
        return SectionSpan{i, next};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(std::string_view text, const std::vector<Line>& lines,
                                   const SectionSpan& span, std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.endBefore; ++i) {
        std::string_view content = Content(text, lines[i]);
        if (!content.empty() && SameName(SplitKeyLine(content).name, key)) return i;
    }
    return std::nullopt;
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

ProfileLines SplitProfileLines(std::string_view fileText) {
    return {fileText, SplitLines(fileText)};
}

std::string ReadProfileValue(const ProfileLines& profile, std::string_view section,
                             std::string_view key) {
    auto span = FindSection(profile.text, profile.lines, section);
    if (!span) return {};
    auto index = FindKey(profile.text, profile.lines, *span, key);
    if (!index) return {};
    std::string_view value =
        WithoutQuotes(SplitKeyLine(Content(profile.text, profile.lines[*index])).value);
    return std::string(value.substr(0, kProfileValueBuffer - 1));
}

std::string ReadProfileValue(std::string_view fileText, std::string_view section,
                             std::string_view key) {
    return ReadProfileValue(SplitProfileLines(fileText), section, key);
}

std::string WithProfileValue(std::string_view fileText, std::string_view section,
                             std::string_view key, std::string_view value) {
    std::string entry = std::string(key) + "=" + std::string(value);
    std::vector<Line> lines = SplitLines(fileText);
    auto span = FindSection(fileText, lines, section);
    std::string result;
    if (!span) {
        result = fileText;
        if (!lines.empty() && result.back() != '\n' && result.back() != '\r') {
            result += kLineBreak;
        }
        result += "[" + std::string(section) + "]" + std::string(kLineBreak) + entry +
                  std::string(kLineBreak);
        return result;
    }
    if (auto index = FindKey(fileText, lines, *span, key)) {
        const Line& line = lines[*index];
        result = fileText.substr(0, line.begin);
        result += entry;
        result += fileText.substr(line.contentEnd);
        return result;
    }
    std::size_t last = span->header;
    for (std::size_t i = span->header + 1; i < span->endBefore; ++i) {
        if (!Content(fileText, lines[i]).empty()) last = i;
    }
    const Line& after = lines[last];
    result = fileText.substr(0, after.end);
    if (after.contentEnd == after.end) result += kLineBreak;
    result += entry;
    result += kLineBreak;
    result += fileText.substr(after.end);
    return result;
}

std::string WithoutProfileKey(std::string_view fileText, std::string_view section,
                              std::string_view key) {
    std::vector<Line> lines = SplitLines(fileText);
    auto span = FindSection(fileText, lines, section);
    if (!span) return std::string(fileText);
    auto index = FindKey(fileText, lines, *span, key);
    if (!index) return std::string(fileText);
    const Line& line = lines[*index];
    return std::string(fileText.substr(0, line.begin)) + std::string(fileText.substr(line.end));
}

}  // namespace sirelo
