#pragma once
// The 设置中心 tab page: group box 分组框1 with the three numeric boxes, the
// four display and filter checkboxes and one checkbox per site of the roster.
// The controls are the live settings; each change is clamped, written to the
// configuration file and stored in the LiveSettings snapshot.

#include <QCheckBox>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "config/live_settings.h"
#include "config/number_edit.h"
#include "config/settings_controls.h"

namespace sirelo {

class SettingsPanel : public QWidget, private SettingsControls {
    Q_OBJECT

  public:
    // `live` has a flag for every switch of `sites`.
    SettingsPanel(LiveSettings& live, std::vector<SiteSwitch> sites, QWidget* parent = nullptr);

    // Puts the configuration file into the controls; the last start-up step.
    void loadSettings();

    // A site checkbox's tooltip: that site's last outcome.
    void setSiteToolTip(SiteKind kind, int index, const QString& tip);

  private:
    std::string numberText(NumberBox box) const override;
    void setNumberText(NumberBox box, const std::string& text) override;
    bool flagChecked(FlagBox box) const override;
    void setFlagChecked(FlagBox box, bool checked) override;
    const std::vector<SiteSwitch>& siteSwitches() const override { return sites_; }
    bool siteChecked(const SiteSwitch& site) const override;
    void setSiteChecked(const SiteSwitch& site, bool checked) override;

    NumberEdit* edit(NumberBox box) const;
    QCheckBox* checkBox(FlagBox box) const;
    QCheckBox* siteBox(SiteKind kind, int index) const;

    LiveSettings& live_;
    std::array<NumberEdit*, kNumberSettings.size()> edits_{};
    std::array<QCheckBox*, kFlagSettings.size()> checkBoxes_{};
    std::vector<SiteSwitch> sites_;
    std::vector<QCheckBox*> siteBoxes_;  // as sites_
};

}  // namespace sirelo
