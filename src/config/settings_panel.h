#pragma once
// The 设置中心 tab page: group box 分组框1 with the three numeric boxes and the
// ten checkboxes. The controls are the live settings; each change is clamped,
// written to the configuration file and stored in the LiveSettings snapshot.

#include <QCheckBox>
#include <QWidget>
#include <array>
#include <string>

#include "config/live_settings.h"
#include "config/number_edit.h"
#include "config/settings_controls.h"

namespace sirelo {

class SettingsPanel : public QWidget, private SettingsControls {
    Q_OBJECT

  public:
    explicit SettingsPanel(LiveSettings& live, QWidget* parent = nullptr);

    // Puts the configuration file into the controls; the last start-up step.
    void loadSettings();

    // A site checkbox's tooltip: that site's last outcome.
    void setSiteToolTip(FlagBox box, const QString& tip);

  private:
    std::string numberText(NumberBox box) const override;
    void setNumberText(NumberBox box, const std::string& text) override;
    bool flagChecked(FlagBox box) const override;
    void setFlagChecked(FlagBox box, bool checked) override;

    NumberEdit* edit(NumberBox box) const;
    QCheckBox* checkBox(FlagBox box) const;

    LiveSettings& live_;
    std::array<NumberEdit*, kNumberSettings.size()> edits_{};
    std::array<QCheckBox*, kFlagSettings.size()> checkBoxes_{};
};

}  // namespace sirelo
