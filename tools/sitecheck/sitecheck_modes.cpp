#include "sitecheck_modes.h"

namespace sirelo::sitecheck {
namespace {

// Filled during static initialisation, before main reads it.
std::vector<SitecheckMode>& Modes() {
    static std::vector<SitecheckMode> modes;
    return modes;
}

}  // namespace

bool RegisterSitecheckMode(SitecheckMode mode) {
    Modes().push_back(std::move(mode));
    return true;
}

const std::vector<SitecheckMode>& SitecheckModes() {
    return Modes();
}

}  // namespace sirelo::sitecheck
