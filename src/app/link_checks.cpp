#include "app/link_checks.h"

#include "text/text.h"

namespace sirelo {

bool IsMagnetLink(std::string_view text) {
    return StartsWithIgnoringAsciiCase(text, "magnet:");
}

bool IsWebAddress(std::string_view text) {
    return StartsWithIgnoringAsciiCase(text, "http://") ||
           StartsWithIgnoringAsciiCase(text, "https://");
}

}  // namespace sirelo
