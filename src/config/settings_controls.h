#pragma once
// The settings controls as the core sees them. The panel implements this; the
// core's loading and change rules work through it, so they run without Qt.

#include <string>
#include <vector>

#include "config/setting_table.h"
#include "config/site_switch.h"

namespace sirelo {

class SettingsControls {
  public:
    // Texts are GBK.
    virtual std::string numberText(NumberBox box) const = 0;
    // A new text runs the box's change rule (onNumberChanged) before this returns,
    // as every text change does; setting the same text again changes nothing.
    virtual void setNumberText(NumberBox box, const std::string& text) = 0;
    virtual bool flagChecked(FlagBox box) const = 0;
    // A state set by the program raises no click, so it writes nothing.
    virtual void setFlagChecked(FlagBox box, bool checked) = 0;

    // The sites' checkboxes, magnet sites first, each kind in its places' order.
    virtual const std::vector<SiteSwitch>& siteSwitches() const = 0;
    virtual bool siteChecked(const SiteSwitch& site) const = 0;
    // As setFlagChecked.
    virtual void setSiteChecked(const SiteSwitch& site, bool checked) = 0;

  protected:
    ~SettingsControls() = default;
};

}  // namespace sirelo
