#include "sitedefs/feed_cache.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <utility>
#include <vector>

#include "config/app_config.h"
#include "config/profile_file.h"

namespace sirelo {
namespace {

// One line, whatever it was given.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

bool EnsureFolder(const std::string& folder) {
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

FeedCachePaths FeedCacheIn(AppConfig& config) {
    config.ensureConfigFolder();
    std::string folder = config.configFilePath();
    folder.erase(folder.find_last_of('/') + 1);
    folder += "feed";
    return {folder, folder + "/sites.toml", folder + "/sites.toml.minisig", folder + "/state"};
}

std::optional<FeedState> ReadFeedState(const FeedCachePaths& paths) {
    const std::optional<std::string> text = ReadWholeFile(paths.state);
    if (!text) return std::nullopt;
    FeedState state;
    std::size_t at = 0;
    while (at < text->size()) {
        std::size_t end = text->find('\n', at);
        if (end == std::string::npos) end = text->size();
        const std::string_view line(text->data() + at, end - at);
        at = end + 1;
        const std::size_t equals = line.find('=');
        if (equals == line.npos) continue;
        const std::string_view key = line.substr(0, equals);
        const std::string value(line.substr(equals + 1));
        if (key == "address") state.address = value;
        if (key == "etag") state.etag = value;
        if (key == "last_modified") state.lastModified = value;
        if (key == "result") state.result = value;
        if (key == "details") state.details = value;
        if (key == "version") state.version = value;
        if (key == "checked")
            std::from_chars(value.data(), value.data() + value.size(), state.checkedAt);
    }
    return state;
}

bool WriteFeedState(const FeedCachePaths& paths, const FeedState& state) {
    const std::vector<std::pair<const char*, std::string>> lines{
        {"address", state.address},
        {"etag", state.etag},
        {"last_modified", state.lastModified},
        {"checked", std::to_string(state.checkedAt)},
        {"result", state.result},
        {"details", state.details},
        {"version", state.version},
    };
    std::string text;
    for (const auto& [key, value] : lines)
        text += std::string(key) + "=" + OneLine(value) + "\n";
    return EnsureFolder(paths.folder) && ReplaceFile(paths.state, text);
}

bool WriteFeedCopy(const FeedCachePaths& paths, const std::string& file,
                   const std::string& signature) {
    return EnsureFolder(paths.folder) && ReplaceFile(paths.file, file) &&
           ReplaceFile(paths.signature, signature);
}

}  // namespace sirelo
