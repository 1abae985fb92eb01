#include "net/page_fetch.h"

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "net/curl_transfer.h"

namespace sirelo {

namespace {

constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr std::size_t kMaxHostBytes = 256;
constexpr std::size_t kMaxObjectBytes = 2048;
constexpr std::size_t kMaxCredentialBytes = 128;

// The one handle every fetch shares, opened on first use and kept until the
// process ends: DNS answers are reused across fetches. TLS sessions are not
// shared: resuming one hands OpenSSL session objects from thread to thread,
// where the thread sanitizer reports races we cannot rule out; a full handshake
// per fetch is the cheaper certainty.
struct SharedFetchState {
    CURLSH* share = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
};

void LockShared(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    static_cast<SharedFetchState*>(user)->locks[data].lock();
}

void UnlockShared(CURL*, curl_lock_data data, void* user) {
    static_cast<SharedFetchState*>(user)->locks[data].unlock();
}

CURLSH* SharedHandle() {
    static std::once_flag once;
    static SharedFetchState* state = nullptr;
    std::call_once(once, [] {
        // Never freed: detached workers may still be fetching when the process ends.
        state = new SharedFetchState;
        CURLSH* share = curl_share_init();
        if (share == nullptr) return;
        curl_share_setopt(share, CURLSHOPT_LOCKFUNC, LockShared);
        curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, UnlockShared);
        curl_share_setopt(share, CURLSHOPT_USERDATA, state);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        state->share = share;
    });
    return state->share;
}

struct UrlPartsFree {
    void operator()(CURLU* parts) const { curl_url_cleanup(parts); }
};

std::optional<std::string> UrlPart(CURLU* parts, CURLUPart which) {
    char* text = nullptr;
    if (curl_url_get(parts, which, &text, 0) != CURLUE_OK) return std::nullopt;
    std::string part(text);
    curl_free(text);
    return part;
}

// The URL without its fragment when it is an http or https address within the
// limits of the split, else nothing.
std::optional<std::string> FetchableUrl(std::string_view url) {
    std::string cut = net_detail::EscapeForCurl(url.substr(0, url.find('#')));
    std::unique_ptr<CURLU, UrlPartsFree> parts(curl_url());
    if (!parts ||
        curl_url_set(parts.get(), CURLUPART_URL, cut.c_str(), CURLU_PATH_AS_IS) != CURLUE_OK) {
        return std::nullopt;
    }
    std::optional<std::string> scheme = UrlPart(parts.get(), CURLUPART_SCHEME);
    if (scheme != "http" && scheme != "https") return std::nullopt;
    std::string object = UrlPart(parts.get(), CURLUPART_PATH).value_or("/");
    if (std::optional<std::string> query = UrlPart(parts.get(), CURLUPART_QUERY)) {
        object += "?" + *query;
    }
    if (UrlPart(parts.get(), CURLUPART_HOST).value_or("").size() > kMaxHostBytes ||
        object.size() > kMaxObjectBytes ||
        UrlPart(parts.get(), CURLUPART_USER).value_or("").size() > kMaxCredentialBytes ||
        UrlPart(parts.get(), CURLUPART_PASSWORD).value_or("").size() > kMaxCredentialBytes) {
        return std::nullopt;
    }
    return cut;
}

}  // namespace

FetchResult PageFetchWithOutcome(std::string_view url) {
    FetchResult failed{{}, SetUpFailed()};
    if (url.empty()) return failed;
    net_detail::HeaderList headers;
    if (!net_detail::AppendHeader(headers, "Accept: */*") ||
        !net_detail::AppendHeader(headers, "Proxy-Connection:")) {
        return failed;
    }
    net_detail::EasyHandle easy = net_detail::NewEasyHandle();
    if (!easy) return failed;
    std::optional<std::string> fetchable = FetchableUrl(url);
    if (!fetchable) return failed;
    CURLSH* share = SharedHandle();
    if (share == nullptr) return failed;

    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_SHARE, share);
    curl_easy_setopt(handle, CURLOPT_URL, fetchable->c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kAgent);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());

    net_detail::TransferResult result =
        net_detail::PerformTransfer(handle, CurrentHttpLimits(), CurrentHttpProxy());
    return {std::move(result.body), std::move(result.outcome)};
}

Bytes PageFetch(std::string_view url) {
    return std::move(PageFetchWithOutcome(url).body);
}

}  // namespace sirelo
