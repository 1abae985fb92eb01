#pragma once
// Cells come from web pages, so nothing in them is handed to the system
// before it is checked (ASCII letters compared without case).

#include <cstddef>
#include <string_view>

#include "sitedefs/site_definitions.h"

namespace sirelo {

// Real magnet links hold a 40-digit hash, a name and a few dozen trackers:
// well under 4 KiB. Twice that leaves room and still keeps an endless cell
// from the command line of whatever handles the scheme.
inline constexpr std::size_t kMagnetLinkLimit = 8 * 1024;

// Starts with "magnet:?" and is at most kMagnetLinkLimit bytes.
bool IsMagnetLink(std::string_view text);
// An http or https address whose authority is only a host and perhaps a port
// (no user part, no backslash) with the host and port of `base`, a site's
// scheme://host[:port]. Anything else may lead elsewhere.
bool StaysOnHost(std::string_view address, std::string_view base);

// The page address of an online row (its site's base and scraped text) may be
// opened: it stays on the host of the base of the row's own site, the one
// labelled `siteLabel` (GBK).
bool MayOpenOnlinePage(const SiteDefinitions& definitions, std::string_view siteLabel,
                       std::string_view address);

}  // namespace sirelo
