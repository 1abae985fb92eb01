#include "net/curl_transfer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <utility>

#include "net/tls_trust.h"

namespace sirelo::net_detail {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<std::size_t> budgetInUse{0};

struct TransferState {
    CURL* easy = nullptr;
    TransferResult result;
    std::size_t maxBytes = 0;
    std::size_t unbudgeted = 0;
    std::size_t budget = 0;
    std::size_t drawn = 0;  // from the shared budget, given back when the transfer ends
    std::size_t headerBytes = 0;
    bool capped = false;
    bool stalled = false;
    std::string cutWords;
    std::chrono::milliseconds stall{0};
    Clock::time_point lastActivity = Clock::now();
    curl_off_t seenDown = 0;
    curl_off_t seenUp = 0;
};

// How many of `wanted` more body bytes may be kept: what is left of the
// transfer's own share, then what the shared budget still has (drawn here).
std::size_t DrawFromBudget(TransferState& state, std::size_t held, std::size_t wanted) {
    std::size_t own = state.unbudgeted - std::min(state.unbudgeted, held);
    if (wanted <= own) return wanted;
    std::size_t need = wanted - own;
    std::size_t inUse = budgetInUse.load(std::memory_order_relaxed);
    std::size_t granted = 0;
    do {
        granted = std::min(need, state.budget - std::min(state.budget, inUse));
        if (granted == 0) return own;
    } while (!budgetInUse.compare_exchange_weak(inUse, inUse + granted, std::memory_order_relaxed));
    state.drawn += granted;
    return own + granted;
}

void Cut(TransferState& state, std::string words) {
    state.capped = true;
    state.cutWords = std::move(words);
}

std::size_t OnBody(char* data, std::size_t, std::size_t size, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    state.lastActivity = Clock::now();
    Bytes& body = state.result.body;
    if (body.empty()) {
        // An announced length gets its room at once within the unbudgeted share;
        // a larger announcement may be a lie and grows as bytes really arrive.
        curl_off_t announced = -1;
        curl_easy_getinfo(state.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
        if (announced > 0) {
            body.reserve(std::min(static_cast<std::size_t>(announced), state.unbudgeted));
        }
    }
    std::size_t room = state.maxBytes - std::min(state.maxBytes, body.size());
    std::size_t taken = DrawFromBudget(state, body.size(), std::min(size, room));
    body.append(data, taken);
    if (taken < size) {
        Cut(state, taken < std::min(size, room)
                       ? "body cut: the byte budget of all transfers is spent"
                       : "body cut at " + std::to_string(state.maxBytes) + " bytes");
    }
    return taken;  // short of `size` ends the transfer
}

std::size_t OnHeaderLine(char* data, std::size_t, std::size_t size, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    state.lastActivity = Clock::now();
    state.headerBytes += size;
    if (state.headerBytes > state.maxBytes) {  // an endless header block
        Cut(state, "header block cut at " + std::to_string(state.maxBytes) + " bytes");
        return 0;
    }

    std::string_view line(data, size);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    TransferResult& result = state.result;
    if (line.starts_with("HTTP/")) {
        // a new response (after a redirect or an interim answer) replaces the last
        result.headerBlock.clear();
        result.headersComplete = false;
    } else if (result.headersComplete) {
        return size;  // trailers after a chunked body are not part of the header block
    }
    result.headerBlock.append(line);
    result.headerBlock.append("\r\n");
    if (line.empty()) result.headersComplete = true;
    return size;
}

int OnProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
    auto& state = *static_cast<TransferState*>(user);
    Clock::time_point now = Clock::now();
    if (downloaded != state.seenDown || uploaded != state.seenUp) {
        state.seenDown = downloaded;
        state.seenUp = uploaded;
        state.lastActivity = now;
        return 0;
    }
    if (now - state.lastActivity < state.stall) return 0;
    state.stalled = true;
    return 1;
}

TransferEnd EndOf(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return TransferEnd::Answered;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return TransferEnd::HostNotFound;
        case CURLE_COULDNT_CONNECT:
            return TransferEnd::Refused;
        case CURLE_OPERATION_TIMEDOUT:
            return TransferEnd::TimedOut;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
            return TransferEnd::CertificateRejected;
        default:
            return TransferEnd::Other;
    }
}

TransferOutcome OutcomeOf(CURL* easy, CURLcode code, const TransferState& state,
                          const char* errorWords) {
    TransferOutcome outcome;
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    outcome.httpStatus = static_cast<int>(status);
    outcome.bytesReceived = state.result.body.size();
    if (state.capped) {
        outcome.end = TransferEnd::Capped;
        outcome.words = state.cutWords;
    } else if (state.stalled) {
        outcome.end = TransferEnd::TimedOut;
        outcome.words = "no byte for " + std::to_string(state.stall.count()) + " ms";
    } else {
        outcome.end = EndOf(code);
        if (code != CURLE_OK) outcome.words = *errorWords ? errorWords : curl_easy_strerror(code);
    }
    // A response began and did not end as it meant to.
    outcome.cut = code != CURLE_OK && (status != 0 || !state.result.body.empty());
    return outcome;
}

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

EasyHandle NewEasyHandle() {
    InitialiseCurlOnce();
    EasyHandle easy(curl_easy_init());
    if (!easy) return easy;
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    // A base joined to scraped text can read as "user@host"; credentials only
    // ever go out where the user typed them as such (the proxy setting).
    curl_easy_setopt(handle, CURLOPT_DISALLOW_USERNAME_IN_URL, 1L);
    return easy;
}

bool AppendHeader(HeaderList& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (grown == nullptr) return false;
    list.release();
    list.reset(grown);
    return true;
}

std::string EscapeForCurl(std::string_view url) {
    std::string escaped;
    escaped.reserve(url.size());
    for (char c : url) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

TransferResult PerformTransfer(CURL* easy, const HttpLimits& limits, const ProxySetting& proxy) {
    TransferState state;
    state.easy = easy;
    state.maxBytes = limits.maxBodyBytes;
    state.unbudgeted = limits.unbudgetedBytes;
    state.budget = limits.budgetBytes;
    state.stall = std::chrono::milliseconds(limits.stallTimeoutMs);
    char errorWords[CURL_ERROR_SIZE] = "";

    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.url.c_str());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorWords);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, limits.deadlineMs);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    std::string caFile = CurrentTrustedCaFile();
    if (!caFile.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, caFile.c_str());
        curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeaderLine);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &state);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);

    state.lastActivity = Clock::now();
    CURLcode code = curl_easy_perform(easy);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, nullptr);
    budgetInUse.fetch_sub(state.drawn, std::memory_order_relaxed);
    state.result.outcome = OutcomeOf(easy, code, state, errorWords);
    state.result.outcome.proxyIgnored = proxy.ignored;
    return std::move(state.result);
}

}  // namespace sirelo::net_detail

namespace sirelo {

std::size_t BudgetedBodyBytes() {
    return net_detail::budgetInUse.load(std::memory_order_relaxed);
}

}  // namespace sirelo
