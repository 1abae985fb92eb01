#pragma once
// What HttpRequest and PageFetch share on top of libcurl: the one-time library
// set-up, owned handles, and one transfer run within the bounds of the layer.

#include <curl/curl.h>

#include <memory>
#include <string>
#include <string_view>

#include "net/bytes.h"
#include "net/http_limits.h"
#include "net/http_proxy.h"
#include "net/transfer_outcome.h"

namespace sirelo::net_detail {

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

struct HeaderListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListFree>;

// A fresh handle that goes direct (no proxy from the environment) and speaks
// only http and https; null when libcurl cannot give one.
EasyHandle NewEasyHandle();

// False when the list could not grow.
bool AppendHeader(HeaderList& list, const std::string& line);

// Spaces and control bytes are not allowed in a URL libcurl accepts; they go
// out percent-encoded, every other byte as written.
std::string EscapeForCurl(std::string_view url);

struct TransferResult {
    Bytes body;
    // The last response's header block, CRLF line ends, closing blank line
    // included; complete only once that blank line arrived.
    std::string headerBlock;
    bool headersComplete = false;
    TransferOutcome outcome;
};

// Runs what is set up on `easy` through `proxy` (direct when its url is empty):
// certificates verified, the time and size bounds of `limits` applied, body
// bytes beyond the unbudgeted share drawn from the process-wide budget and
// given back before it returns. Whatever arrived before an error or a bound is
// kept.
TransferResult PerformTransfer(CURL* easy, const HttpLimits& limits, const ProxySetting& proxy);

}  // namespace sirelo::net_detail
