#include "sites/run_record.h"

namespace sirelo {
namespace {

SiteGate& GateAt(std::deque<SiteGate>& gates, int index, SiteGate& unpaced) {
    if (index < 0 || index >= static_cast<int>(gates.size())) return unpaced;
    return gates[static_cast<std::size_t>(index)];
}

}  // namespace

RunRecord::RunRecord(const SiteDefinitions& definitions) {
    for (const MagnetSite& site : definitions.magnet)
        magnetGates_.emplace_back(site.pacing);
    for (const OnlineSite& site : definitions.online)
        onlineGates_.emplace_back(site.pacing);
}

bool RunRecord::isCurrent() {
    std::lock_guard hold(lock);
    return current;
}

void RunRecord::retire() {
    {
        std::lock_guard hold(lock);
        current = false;
    }
    closeGates();
}

void RunRecord::closeGates() {
    for (SiteGate& gate : magnetGates_)
        gate.close();
    for (SiteGate& gate : onlineGates_)
        gate.close();
}

SiteGate& RunRecord::magnetGate(int siteIndex) {
    return GateAt(magnetGates_, siteIndex, unpaced_);
}

SiteGate& RunRecord::onlineGate(int siteIndex) {
    return GateAt(onlineGates_, siteIndex, unpaced_);
}

}  // namespace sirelo
