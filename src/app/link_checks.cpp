#include "app/link_checks.h"

#include <optional>
#include <string>

#include "config/web_address.h"
#include "text/text.h"

namespace sirelo {

bool IsMagnetLink(std::string_view text) {
    return StartsWithIgnoringAsciiCase(text, "magnet:?") && text.size() <= kMagnetLinkLimit;
}

bool StaysOnHost(std::string_view address, std::string_view base) {
    const auto target = AuthorityOf(address);
    const auto own = AuthorityOf(base);
    return target && own && target->host == own->host && target->port == own->port;
}

bool MayOpenOnlinePage(const SiteDefinitions& definitions, std::string_view siteLabel,
                       std::string_view address) {
    for (const OnlineSite& site : definitions.online) {
        if (site.label == siteLabel) return StaysOnHost(address, site.base);
    }
    return false;
}

}  // namespace sirelo
