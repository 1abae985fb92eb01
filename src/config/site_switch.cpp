#include "config/site_switch.h"

namespace sirelo {

const char* SiteSection(SiteKind kind) {
    return kind == SiteKind::Magnet ? "磁力站点" : "在线站点";
}

}  // namespace sirelo
