#include "net/conditional_fetch.h"

#include <algorithm>

#include "net/curl_transfer.h"

namespace sirelo {
namespace {

constexpr const char* kAgent = "Sirelo";

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

// A validator goes back into a header line as it came; one with a line break
// or other control byte would end that line, so it is not kept.
std::string Validator(std::string value) {
    const bool clean = value.size() <= 1024 && std::none_of(value.begin(), value.end(), [](char c) {
                           return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
                       });
    return clean ? value : std::string();
}

}  // namespace

std::string HeaderValue(std::string_view headerBlock, std::string_view name) {
    while (!headerBlock.empty()) {
        const std::size_t end = headerBlock.find('\n');
        std::string_view line = headerBlock.substr(0, end);
        headerBlock = end == headerBlock.npos ? std::string_view() : headerBlock.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon == line.npos || !SameLetters(line.substr(0, colon), name)) continue;
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        while (!value.empty() &&
               (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
            value.remove_suffix(1);
        return std::string(value);
    }
    return {};
}

ConditionalAnswer FetchIfChanged(const ConditionalGet& request) {
    ConditionalAnswer answer;
    answer.outcome = SetUpFailed();
    net_detail::HeaderList headers;
    if (!net_detail::AppendHeader(headers, "Accept: */*")) return answer;
    const std::string etag = Validator(request.etag);
    const std::string lastModified = Validator(request.lastModified);
    if (!etag.empty() && !net_detail::AppendHeader(headers, "If-None-Match: " + etag))
        return answer;
    if (!lastModified.empty() &&
        !net_detail::AppendHeader(headers, "If-Modified-Since: " + lastModified)) {
        return answer;
    }
    net_detail::EasyHandle easy = net_detail::NewEasyHandle();
    if (!easy || !(request.url.starts_with("http://") || request.url.starts_with("https://")))
        return answer;
    const std::string url = net_detail::EscapeForCurl(request.url);
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kAgent);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());

    // The body is the caller's small file: it never draws on the shared budget.
    HttpLimits limits = CurrentHttpLimits();
    limits.maxBodyBytes = std::min(limits.maxBodyBytes, request.maxBytes);
    limits.unbudgetedBytes = std::max(limits.unbudgetedBytes, limits.maxBodyBytes);
    net_detail::TransferResult result =
        net_detail::PerformTransfer(handle, limits, CurrentHttpProxy());
    answer.outcome = std::move(result.outcome);
    answer.tooLarge = answer.outcome.end == TransferEnd::Capped;
    answer.body = std::move(result.body);
    answer.etag = Validator(HeaderValue(result.headerBlock, "ETag"));
    answer.lastModified = Validator(HeaderValue(result.headerBlock, "Last-Modified"));
    return answer;
}

}  // namespace sirelo
