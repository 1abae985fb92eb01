#include "net/curl_transfer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <utility>

#include "net/tls_trust.h"

namespace sirelo::net_detail {

namespace {

using Clock = std::chrono::steady_clock;

// A body announced by its Content-Length gets its room at once, up to this much;
// a larger announcement may be a lie and grows as bytes really arrive.
constexpr curl_off_t kMaxReservedBytes = 8 << 20;

struct TransferState {
    CURL* easy = nullptr;
    TransferResult result;
    std::size_t maxBytes = 0;
    std::size_t headerBytes = 0;
    std::chrono::milliseconds stall{0};
    Clock::time_point lastActivity = Clock::now();
    curl_off_t seenDown = 0;
    curl_off_t seenUp = 0;
};

std::size_t OnBody(char* data, std::size_t, std::size_t size, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    state.lastActivity = Clock::now();
    Bytes& body = state.result.body;
    if (body.empty()) {
        curl_off_t announced = -1;
        curl_easy_getinfo(state.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
        if (announced > 0) {
            auto reserved = static_cast<std::size_t>(std::min(announced, kMaxReservedBytes));
            body.reserve(std::min(reserved, state.maxBytes));
        }
    }
    std::size_t room = state.maxBytes - std::min(state.maxBytes, body.size());
    std::size_t taken = std::min(size, room);
    body.append(data, taken);
    return taken;  // short of `size` ends the transfer at the cap
}

std::size_t OnHeaderLine(char* data, std::size_t, std::size_t size, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    state.lastActivity = Clock::now();
    state.headerBytes += size;
    if (state.headerBytes > state.maxBytes) return 0;  // an endless header block

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
    return now - state.lastActivity >= state.stall ? 1 : 0;
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

TransferResult PerformTransfer(CURL* easy, const HttpLimits& limits) {
    TransferState state;
    state.easy = easy;
    state.maxBytes = limits.maxBodyBytes;
    state.stall = std::chrono::milliseconds(limits.stallTimeoutMs);

    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
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
    curl_easy_perform(easy);
    return std::move(state.result);
}

}  // namespace sirelo::net_detail
