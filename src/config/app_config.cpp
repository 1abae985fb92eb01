#include "config/app_config.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include "config/profile_file.h"
#include "config/profile_text.h"
#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

constexpr std::string_view kFolderWord = "配置";  // UTF-8 on the file system
constexpr std::string_view kAppFolder = "Sirelo";
constexpr std::string_view kFileName = "Configuration.ini";

const std::string& LoadingMarkerText() {
    static const std::string marker = Utf8ToGbk("读取配置");
    return marker;
}

const std::string& CheckedText() {
    static const std::string text = Utf8ToGbk("真");
    return text;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

std::string OuterFolder(const std::string& root) {
    return root + "/" + std::string(kFolderWord);
}

std::string ConfigFolder(const std::string& root) {
    return OuterFolder(root) + "/" + std::string(kAppFolder);
}

class LoadingScope {
  public:
    explicit LoadingScope(std::string& marker) : marker_(marker) { marker_ = LoadingMarkerText(); }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;
    ~LoadingScope() { marker_.clear(); }

  private:
    std::string& marker_;
};

}  // namespace

std::string ConfigBaseFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(WithoutTrailing(xdg, '/'));
    return std::string(WithoutTrailing(HomeFolder(), '/')) + "/.config";
}

void AppConfig::ensureConfigFolder() {
    if (!folder_.empty()) {
        ::mkdir(folder_.c_str(), 0700);
        return;
    }
    driveRoot_ = ConfigBaseFolder();
    // The base folder itself may be missing on a fresh account.
    ::mkdir(driveRoot_.c_str(), 0700);
    ::mkdir(OuterFolder(driveRoot_).c_str(), 0777);
    ::mkdir(ConfigFolder(driveRoot_).c_str(), 0777);
}

std::string AppConfig::configFilePath() const {
    return folderFilePath(kFileName);
}

std::string AppConfig::folderFilePath(std::string_view name) const {
    if (!folder_.empty()) return folder_ + "/" + std::string(name);
    const std::string root = driveRoot_.empty() ? ConfigBaseFolder() : driveRoot_;
    return ConfigFolder(root) + "/" + std::string(name);
}

bool AppConfig::loading() const {
    return loadingMarker_ == LoadingMarkerText();
}

void AppConfig::loadSettings(SettingsControls& controls) {
    ensureConfigFolder();
    LoadingScope scope(loadingMarker_);
    const std::optional<std::string> text = ReadWholeFile(configFilePath());
    if (!text) return;
    const ProfileLines profile = SplitProfileLines(*text);

    auto read = [&](const char* section, const char* key) {
        return ReadProfileValue(profile, Utf8ToGbk(section), Utf8ToGbk(key));
    };
    std::array<std::string, kNumberSettings.size()> numbers;
    for (std::size_t i = 0; i < kNumberSettings.size(); ++i) {
        numbers[i] = read(kSoftwareSection, kNumberSettings[i].key);
    }
    std::array<std::string, kFlagSettings.size()> flags;
    for (std::size_t i = 0; i < kFlagSettings.size(); ++i) {
        flags[i] = read(kFlagSettings[i].section, kFlagSettings[i].key);
    }
    const std::vector<SiteSwitch>& sites = controls.siteSwitches();
    std::vector<std::string> siteFlags;
    for (const SiteSwitch& site : sites)
        siteFlags.push_back(read(SiteSection(site.kind), site.key.c_str()));

    for (std::size_t i = 0; i < kNumberSettings.size(); ++i) {
        if (!numbers[i].empty()) controls.setNumberText(kNumberSettings[i].box, numbers[i]);
    }
    for (std::size_t i = 0; i < kFlagSettings.size(); ++i) {
        if (!flags[i].empty()) {
            controls.setFlagChecked(kFlagSettings[i].box, flags[i] == CheckedText());
        }
    }
    for (std::size_t i = 0; i < sites.size(); ++i) {
        if (!siteFlags[i].empty()) controls.setSiteChecked(sites[i], siteFlags[i] == CheckedText());
    }
}

bool AppConfig::writeSetting(std::string_view section, std::string_view key,
                             std::string_view value) {
    ensureConfigFolder();
    return WriteProfileString(configFilePath(), section, key, value);
}

bool AppConfig::removeSetting(std::string_view section, std::string_view key) {
    ensureConfigFolder();
    return RemoveProfileString(configFilePath(), section, key);
}

AppConfig& TheAppConfig() {
    static AppConfig config;
    return config;
}

}  // namespace sirelo
