#include "config/search_history.h"

#include <algorithm>
#include <optional>

#include "config/profile_file.h"
#include "text/text.h"

namespace sirelo {
namespace {

// A name is one line: the search box holds no line breaks.
bool IsName(std::string_view line) {
    return !line.empty() && line.size() <= kHistoryNameLimit &&
           line.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

std::vector<std::string> ReadSearchHistory(const std::string& path) {
    std::vector<std::string> history;
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return history;
    std::string_view rest = *text;
    while (!rest.empty() && history.size() < kHistoryLimit) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (IsName(line) && std::find(history.begin(), history.end(), line) == history.end()) {
            history.emplace_back(line);
        }
    }
    return history;
}

std::vector<std::string> WithSearchName(std::vector<std::string> history, std::string_view name) {
    if (!IsName(name)) return history;
    std::erase(history, name);
    history.insert(history.begin(), std::string(name));
    if (history.size() > kHistoryLimit) history.resize(kHistoryLimit);
    return history;
}

std::vector<std::string> NamesStartingWith(const std::vector<std::string>& history,
                                           std::string_view prefix) {
    std::vector<std::string> names;
    for (const std::string& name : history) {
        if (StartsWithIgnoringAsciiCase(name, prefix)) names.push_back(name);
    }
    return names;
}

bool WriteSearchHistory(const std::string& path, const std::vector<std::string>& history) {
    std::string text;
    for (const std::string& name : history)
        text += name + "\n";
    return WriteWholeFile(path, text);
}

}  // namespace sirelo
