#include "config/stored_settings.h"

#include <array>
#include <string>

#include "config/settings_controls.h"
#include "config/settings_rules.h"

namespace sirelo {
namespace {

// The controls as plain values; a changed text runs the box's rule as the panel does.
class StoredControls final : public SettingsControls {
  public:
    StoredControls(AppConfig& config, LiveSettings& live, const std::vector<SiteSwitch>& sites)
        : config_(config), live_(live), sites_(sites) {
        for (const NumberSetting& setting : kNumberSettings)
            texts_[Slot(setting.box)] = setting.formDefault;
    }

    std::string numberText(NumberBox box) const override { return texts_[Slot(box)]; }
    void setNumberText(NumberBox box, const std::string& text) override {
        if (texts_[Slot(box)] == text) return;
        texts_[Slot(box)] = text;
        onNumberChanged(*this, box, config_, live_);
    }
    bool flagChecked(FlagBox box) const override { return FlagOf(live_, box); }
    void setFlagChecked(FlagBox box, bool checked) override { FlagOf(live_, box) = checked; }
    const std::vector<SiteSwitch>& siteSwitches() const override { return sites_; }
    bool siteChecked(const SiteSwitch& site) const override { return SiteFlagOf(live_, site); }
    void setSiteChecked(const SiteSwitch& site, bool checked) override {
        SiteFlagOf(live_, site) = checked;
    }

  private:
    static std::size_t Slot(NumberBox box) { return static_cast<std::size_t>(box); }

    AppConfig& config_;
    LiveSettings& live_;
    const std::vector<SiteSwitch>& sites_;
    std::array<std::string, kNumberSettings.size()> texts_;
};

}  // namespace

void ReadStoredSettings(AppConfig& config, LiveSettings& live,
                        const std::vector<SiteSwitch>& sites) {
    for (const NumberSetting& setting : kNumberSettings)
        NumberOf(live, setting.box) = textToInteger(setting.formDefault);
    for (const FlagSetting& setting : kFlagSettings)
        FlagOf(live, setting.box) = setting.formDefault;
    for (const SiteSwitch& site : sites)
        SiteFlagOf(live, site) = site.formDefault;
    StoredControls controls(config, live, sites);
    config.loadSettings(controls);
}

}  // namespace sirelo
