#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "net/bytes.h"
#include "net/transfer_outcome.h"

namespace sirelo {

// 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT; others GET.
using HttpMethod = int;

// The general request routine. `cookies` absent and `cookies` empty differ: a
// supplied text (even empty) turns off stored cookies and enables merging.
// `returnedCookies`, `responseHeaders` and `outcome` are out-arguments and may
// be null; `outcome` receives how the transfer ended, whatever it gave. An
// empty `proxy` means the configured one (see SetHttpProxy).
Bytes HttpRequest(std::string_view address, HttpMethod method = 0, std::string_view formText = {},
                  const std::optional<std::string>& cookies = std::nullopt,
                  std::string* returnedCookies = nullptr, std::string_view extraHeaders = {},
                  std::string* responseHeaders = nullptr, bool noRedirect = false,
                  std::string_view byteBody = {}, std::string_view proxy = {},
                  bool mergeCookies = true, TransferOutcome* outcome = nullptr);

}  // namespace sirelo
