#pragma once
// The configuration file: where it lives, loading it into the settings controls
// at start-up, and writing one key at a time as a setting changes.
//
// The user's configuration directory plays the part of a drive root:
// $XDG_CONFIG_HOME when it is set and absolute, else ~/.config, chosen afresh
// at every call. The file is <root>/配置/Sirelo/Configuration.ini, in GBK.

#include <string>
#include <string_view>
#include <utility>

#include "config/settings_controls.h"

namespace sirelo {

class AppConfig {
  public:
    AppConfig() = default;
    // The configuration in `folder` instead: <folder>/Configuration.ini, for
    // the tools that take a folder on their command line.
    explicit AppConfig(std::string folder) : folder_(std::move(folder)) {}

    // Chooses driveRoot and creates the folders that are missing (results not looked at).
    void ensureConfigFolder();
    // From the driveRoot chosen last.
    std::string configFilePath() const;
    // Another file of the program's in the same folder, such as history.txt.
    std::string folderFilePath(std::string_view name) const;
    const std::string& driveRoot() const { return driveRoot_; }

    // Puts the keys of the numbers, the flags and the sites' switches into the controls. Never
    // writes the file: while it runs, loadingMarker() is "读取配置" and the change rules do not
    // write.
    void loadSettings(SettingsControls& controls);
    // GBK texts. False when the write failed, the file then being as it was.
    bool writeSetting(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key the same way; true when the file holds it no longer.
    bool removeSetting(std::string_view section, std::string_view key);

    // GBK; "读取配置" while loadSettings runs, empty otherwise.
    const std::string& loadingMarker() const { return loadingMarker_; }
    bool loading() const;

  private:
    std::string folder_;
    std::string driveRoot_;
    std::string loadingMarker_;
};

// The program-wide configuration.
AppConfig& TheAppConfig();

// The directory that plays the drive root's part, as the environment says now.
std::string ConfigBaseFolder();

}  // namespace sirelo
