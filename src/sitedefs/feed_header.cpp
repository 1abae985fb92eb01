#include "sitedefs/feed_header.h"

#include <stdexcept>

// As in definitions_loader.cpp: a broken precondition of the reader throws.
#define TOML_ASSERT(expr) \
    ((expr) ? static_cast<void>(0) : throw std::invalid_argument("is not valid TOML"))
#include <toml++/toml.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
#include <optional>

namespace sirelo {
namespace {

// "x.y.z" as three numbers; nothing for any other shape.
std::optional<std::array<long, 3>> ProgramVersion(std::string_view text) {
    std::array<long, 3> parts{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (at == end || *at != '.') return std::nullopt;
            ++at;
        }
        const auto [next, error] = std::from_chars(at, end, parts[i]);
        if (error != std::errc() || parts[i] < 0 || next - at > 9) return std::nullopt;
        at = next;
    }
    if (at != end) return std::nullopt;
    return parts;
}

}  // namespace

bool OlderProgram(std::string_view have, std::string_view want) {
    const auto a = ProgramVersion(have), b = ProgramVersion(want);
    return a && b && *a < *b;
}

FeedHeader ReadFeedHeader(std::string_view text, std::string_view fileName) {
    FeedHeader header;
    const auto add = [&](const toml::source_region& where, std::string key, std::string words,
                         std::string wordsZh) {
        header.problems.push_back({std::string(fileName), static_cast<long>(where.begin.line),
                                   std::move(key), std::move(words), std::move(wordsZh)});
    };
    try {
        const toml::table root = toml::parse(text, fileName);
        const toml::node* feed = root.get("feed");
        if (feed == nullptr) return header;
        const toml::table* table = feed->as_table();
        if (table == nullptr) {
            add(feed->source(), "feed", "wants a table", "应为表");
            return header;
        }
        for (const auto& [key, node] : *table) {
            const std::string name(key.str());
            const toml::value<std::string>* value = node.as_string();
            if (name != "version" && name != "minimum_program") {
                add(key.source(), "feed." + name,
                    "is no key of [feed]; the keys are version and minimum_program",
                    "不是 [feed] 的键；键有 version 和 minimum_program");
            } else if (value == nullptr || value->get().empty() || value->get().size() > 64) {
                add(node.source(), "feed." + name, "wants a text of 1 to 64 characters in quotes",
                    "应为引号中 1 到 64 个字符的文字");
            } else if (name == "version" &&
                       !std::all_of(value->get().begin(), value->get().end(),
                                    [](char c) { return c > ' ' && c < 0x7F; })) {
                add(node.source(), "feed.version", "wants printable ASCII without blanks",
                    "应为不含空白的可打印 ASCII");
            } else if (name == "version") {
                header.version = value->get();
            } else if (!ProgramVersion(value->get())) {
                add(node.source(), "feed." + name, "wants a program version such as \"1.2.0\"",
                    "应为程序版本，如 \"1.2.0\"");
            } else {
                header.minimumProgram = value->get();
            }
        }
    } catch (const std::exception& error) {
        header.problems.push_back(
            {std::string(fileName), 0, "", error.what(), "无法解析：" + std::string(error.what())});
    }
    std::stable_sort(
        header.problems.begin(), header.problems.end(),
        [](const DefinitionProblem& a, const DefinitionProblem& b) { return a.line < b.line; });
    return header;
}

}  // namespace sirelo
