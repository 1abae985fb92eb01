#include "sitedefs/program_definitions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "config/app_config.h"
#include "sitedefs/definition_layers.h"

namespace sirelo {

// Generated from data/sites.toml at build time.
extern const char kBuiltInSitesToml[];
extern const std::size_t kBuiltInSitesTomlSize;

namespace {

constexpr std::size_t kMaxFileBytes = 1 << 20;

struct FileText {
    std::optional<std::string> text;
    // When there is no text; empty for a missing file.
    std::string problem;
    std::string problemZh;
};

// A FIFO, a device or an endless file must not hold up the start, so only a
// regular file of sensible size is read.
FileText ReadDefinitionsFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {};
        return {std::nullopt, "cannot be opened", "无法打开"};
    }
    FileText file;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        file.problem = "is no regular file";
        file.problemZh = "不是普通文件";
    } else {
        std::string text;
        char buffer[8192];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                file.problem = "cannot be read";
                file.problemZh = "无法读取";
                break;
            }
            if (got == 0) {
                file.text = std::move(text);
                break;
            }
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > kMaxFileBytes) {
                file.problem = "is larger than a megabyte";
                file.problemZh = "大于 1 MB";
                break;
            }
        }
    }
    ::close(fd);
    return file;
}

}  // namespace

std::string_view BuiltInDefinitionsText() {
    return {kBuiltInSitesToml, kBuiltInSitesTomlSize};
}

const SiteDefinitions& BuiltInSiteDefinitions() {
    static const SiteDefinitions definitions = [] {
        LoadedDefinitions loaded = ApplyDefinitions(
            BlankSiteDefinitions(), BuiltInDefinitionsText(), "sites.toml (built in)");
        // Only a broken build gets here; a test keeps the built-in file clean.
        for (const DefinitionProblem& problem : loaded.problems)
            std::fprintf(stderr, "sirelo: %s\n", DescribeProblem(problem).c_str());
        return std::move(loaded.definitions);
    }();
    return definitions;
}

std::string UserDefinitionsPath(AppConfig& config) {
    config.ensureConfigFolder();
    std::string path = config.configFilePath();
    path.erase(path.find_last_of('/') + 1);
    return path + "sites.toml";
}

LoadedDefinitions LoadDefinitionsFile(const std::string& path, bool mustExist,
                                      const SiteDefinitions& base) {
    const FileText file = ReadDefinitionsFile(path);
    if (file.text) return ApplyDefinitions(base, *file.text, path, DefinitionsOrigin::User);
    LoadedDefinitions loaded;
    loaded.definitions = base;
    if (!file.problem.empty()) {
        loaded.problems.push_back({path, 0, "", file.problem, file.problemZh});
    } else if (mustExist) {
        loaded.problems.push_back({path, 0, "", "does not exist", "不存在"});
    }
    return loaded;
}

SiteDefinitions ProgramSiteDefinitions(AppConfig& config, std::FILE* report) {
    DefinitionLayers layers = LoadDefinitionLayers(config);
    ReportLayerProblems(layers, report, "sirelo");
    return std::move(layers.definitions);
}

}  // namespace sirelo
