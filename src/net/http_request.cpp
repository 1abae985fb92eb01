#include "net/http_request.h"

#include <array>

#include "net/curl_transfer.h"
#include "net/url_cookies.h"
#include "text/text.h"

namespace sirelo {

namespace {

using net_detail::AppendHeader;
using net_detail::HeaderList;

constexpr int kGet = 0;
constexpr int kPost = 1;
constexpr int kHead = 2;
constexpr std::array<const char*, 8> kVerbs = {"GET",     "POST",   "HEAD",  "PUT",
                                               "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr std::size_t kHeaderTextSize = 5000;

std::string AgentFor(std::string_view extraHeaders) {
    if (FindText(extraHeaders, "User-Agent:", 1, true) == -1) {
        return "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
    }
    std::string block = std::string(extraHeaders) + "\r\n";
    std::string agent = TrimSpaces(TextBetween(block, "User-Agent:", "\r\n"));
    return agent.empty() ? AgentFromHeaders(extraHeaders) : agent;
}

// Each name test is case-sensitive and looks at the block as it stands.
std::string CompleteHeaderBlock(std::string_view extraHeaders, std::string_view address,
                                HttpMethod method, std::string_view cookies) {
    std::string block(extraHeaders);
    if (block.empty()) {
        block = "Accept: */*";
    } else if (FindText(block, "Accept:") == -1) {
        block += "\r\nAccept: */*";
    }
    if (FindText(block, "Referer:") == -1) {
        block += "\r\nReferer: ";
        block += address;
    }
    if (FindText(block, "Accept-Language:") == -1) block += "\r\nAccept-Language: zh-cn";
    if (method == kPost && FindText(block, "Content-Type:") == -1) {
        block += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (!cookies.empty()) {
        block += FindText(cookies, "Cookie:") != -1 ? "\r\n" : "\r\nCookie: ";
        block += cookies;
    }
    return block;
}

// The header block goes out line by line as built; the empty entries only stop
// libcurl from adding lines of its own (an empty entry is never sent).
bool BuildHeaderList(const std::string& block, HeaderList& list) {
    for (const std::string& line : SplitText(block, "\r\n")) {
        if (!AppendHeader(list, line)) return false;
    }
    for (const char* suppressed : {"Accept:", "Expect:", "Content-Type:", "Proxy-Connection:"}) {
        if (!AppendHeader(list, suppressed)) return false;
    }
    return true;
}

void SetMethodAndBody(CURL* easy, HttpMethod method, const std::string& body) {
    if (method == kGet) {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        return;
    }
    if (method == kHead) {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        return;
    }
    if (method != kPost) curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, kVerbs[method]);
    if (method == kPost || !body.empty()) {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    }
}

std::string CookiesSetBy(std::string_view headerText) {
    std::string cookies;
    for (const std::string& line : SplitText(headerText, "\r\n")) {
        if (TextBefore(line, ": ") != "Set-Cookie") continue;
        std::string entry = FindText(line, ";") != -1
                                ? TextBetween(line, "Set-Cookie:", ";")
                                : ReplaceText(line, "Set-Cookie:", "", 1, std::nullopt, false);
        cookies += TrimSpaces(entry);
        cookies += "; ";
    }
    return TextLeft(cookies, static_cast<int>(cookies.size()) - 2);
}

}  // namespace

Bytes HttpRequest(std::string_view address, HttpMethod method, std::string_view formText,
                  const std::optional<std::string>& cookies, std::string* returnedCookies,
                  std::string_view extraHeaders, std::string* responseHeaders, bool noRedirect,
                  std::string_view byteBody, std::string_view proxy, bool mergeCookies,
                  TransferOutcome* outcome) {
    if (outcome != nullptr) *outcome = SetUpFailed();
    if (method < 0 || method > 7) method = kGet;
    bool secure = ToLowerAscii(TextLeft(address, 8)) == "https://";
    std::string agent = AgentFor(extraHeaders);

    // The header list and the body must outlive the handle that points at them.
    HeaderList headerList;
    std::string body(byteBody.empty() ? formText : byteBody);
    net_detail::EasyHandle easy = net_detail::NewEasyHandle();
    if (!easy) return {};
    CURL* handle = easy.get();

    std::string target = std::string(secure ? "https://" : "http://") + UrlHost(address) + ":" +
                         std::to_string(UrlPort(address)) + UrlPath(address);
    std::string url = net_detail::EscapeForCurl(target);
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
    // A proxy the caller names wins over the configured one.
    ProxySetting via =
        proxy.empty() ? CurrentHttpProxy() : ProxySetting{"http://" + std::string(proxy)};
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, noRedirect ? 0L : 1L);

    std::string block = CompleteHeaderBlock(extraHeaders, address, method, cookies.value_or(""));
    if (!BuildHeaderList(block, headerList)) return {};
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());

    SetMethodAndBody(handle, method, body);

    net_detail::TransferResult result =
        net_detail::PerformTransfer(handle, CurrentHttpLimits(), via);

    std::string headerText = result.headersComplete && result.headerBlock.size() < kHeaderTextSize
                                 ? result.headerBlock
                                 : std::string(kHeaderTextSize, ' ');
    std::string setCookies = CookiesSetBy(headerText);
    if (mergeCookies && cookies.has_value()) setCookies = MergeCookies(*cookies, setCookies);
    if (responseHeaders != nullptr) *responseHeaders = std::move(headerText);
    if (returnedCookies != nullptr) *returnedCookies = std::move(setCookies);
    if (outcome != nullptr) *outcome = std::move(result.outcome);
    return std::move(result.body);
}

}  // namespace sirelo
