#pragma once
// Shared by the configuration tests: a throw-away configuration directory and
// settings controls without a window.

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "config/app_config.h"
#include "config/live_settings.h"
#include "config/profile_file.h"
#include "config/settings_controls.h"
#include "config/settings_rules.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"
#include "text/codepage.h"

namespace sirelo::testing {

inline std::string Gbk(const char* utf8) {
    return Utf8ToGbk(utf8);
}

// Points XDG_CONFIG_HOME at a fresh folder for the life of the object.
class ScopedConfigHome {
  public:
    ScopedConfigHome() {
        char pattern[] = "/tmp/sirelo-config-XXXXXX";
        root_ = ::mkdtemp(pattern);
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
        ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    }
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;
    ~ScopedConfigHome() {
        if (old_) {
            ::setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    const std::string& root() const { return root_; }
    std::string folder() const { return root_ + "/配置/Sirelo"; }
    std::string file() const { return folder() + "/Configuration.ini"; }

    // Creates the folders and the file with these GBK bytes.
    void writeFile(const std::string& bytes) const {
        std::filesystem::create_directories(folder());
        ReplaceFile(file(), bytes);
    }
    std::optional<std::string> fileBytes() const { return ReadWholeFile(file()); }

  private:
    std::string root_;
    std::optional<std::string> old_;
};

inline timespec ModificationTime(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mtim;
}

// The controls as plain values; a changed text runs the change rule, as in the panel.
class FakeControls : public SettingsControls {
  public:
    FakeControls(AppConfig& config, LiveSettings& live) : config_(config), live_(live) {
        for (const NumberSetting& s : kNumberSettings)
            texts_[Index(s.box)] = s.formDefault;
        for (const FlagSetting& s : kFlagSettings)
            flags_[Index(s.box)] = s.formDefault;
    }

    std::string numberText(NumberBox box) const override { return texts_[Index(box)]; }
    void setNumberText(NumberBox box, const std::string& text) override {
        record(SettingOf(box).control, text);
        if (texts_[Index(box)] == text) return;
        texts_[Index(box)] = text;
        onNumberChanged(*this, box, config_, live_);
    }
    bool flagChecked(FlagBox box) const override { return flags_[Index(box)]; }
    void setFlagChecked(FlagBox box, bool checked) override {
        record(SettingOf(box).control, checked ? "checked" : "unchecked");
        flags_[Index(box)] = checked;
        FlagOf(live_, box) = checked;
    }

    // A click: the box takes its new state, then its rule runs.
    void click(FlagBox box) {
        flags_[Index(box)] = !flags_[Index(box)];
        FlagOf(live_, box) = flags_[Index(box)];
        onFlagClicked(*this, box, config_);
    }

    // The built-in sites' switches.
    const std::vector<SiteSwitch>& siteSwitches() const override { return sites_; }
    bool siteChecked(const SiteSwitch& site) const override { return SiteFlagOf(live_, site); }
    void setSiteChecked(const SiteSwitch& site, bool checked) override {
        record(site.control.c_str(), checked ? "checked" : "unchecked");
        SiteFlagOf(live_, site) = checked;
    }
    const SiteSwitch& site(std::string_view control) const {
        for (const SiteSwitch& s : sites_) {
            if (s.control == control) return s;
        }
        throw std::invalid_argument("no such site switch");
    }
    void click(const SiteSwitch& site) {
        SiteFlagOf(live_, site) = !SiteFlagOf(live_, site);
        onSiteClicked(*this, site, config_);
    }

    struct Call {
        std::string control;
        std::string value;
        std::string marker;  // loadingMarker at the time
    };
    std::vector<Call> calls;  // controls set by the program, in order

  private:
    void record(const char* control, std::string value) {
        calls.push_back({control, std::move(value), config_.loadingMarker()});
    }

    static std::size_t Index(NumberBox box) { return static_cast<std::size_t>(box); }
    static std::size_t Index(FlagBox box) { return static_cast<std::size_t>(box); }

    AppConfig& config_;
    LiveSettings& live_;
    std::string texts_[kNumberSettings.size()];
    bool flags_[kFlagSettings.size()] = {};
    std::vector<SiteSwitch> sites_ = SiteSwitchesOf(BuiltInSiteDefinitions());
};

}  // namespace sirelo::testing
