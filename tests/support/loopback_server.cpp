#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace sirelo::testsupport {

namespace {

using namespace std::chrono_literals;

constexpr int kIdleSeconds = 10;
constexpr std::size_t kMaxHeadBytes = 1u << 20;
constexpr std::size_t kMaxBodyBytes = 64u << 20;
constexpr auto kPollInterval = 20ms;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

// Reads and writes of one connection, plain or over TLS.
class Channel {
  public:
    Channel(int fd, SSL* ssl) : fd_(fd), ssl_(ssl) {}

    // Bytes read; 0 when the peer left, a read failed or timed out.
    std::size_t Read(char* buffer, std::size_t size) {
        if (ssl_ != nullptr) {
            int n = SSL_read(ssl_, buffer, static_cast<int>(size));
            return n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        for (;;) {
            ssize_t n = recv(fd_, buffer, size, 0);
            if (n < 0 && errno == EINTR) continue;
            return n > 0 ? static_cast<std::size_t>(n) : 0;
        }
    }

    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            ssize_t n;
            if (ssl_ != nullptr) {
                n = SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
            } else {
                n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
                if (n < 0 && errno == EINTR) continue;
            }
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

  private:
    int fd_;
    SSL* ssl_;
};

std::optional<std::size_t> ContentLength(const ReceivedRequest& request) {
    std::optional<std::string> value = request.Header("Content-Length");
    if (!value) return std::nullopt;
    return std::min<std::size_t>(std::strtoull(value->c_str(), nullptr, 10), kMaxBodyBytes);
}

void ParseHead(std::string_view head, ReceivedRequest& request) {
    std::size_t lineEnd = head.find("\r\n");
    std::string_view requestLine = head.substr(0, lineEnd);
    std::size_t firstSpace = requestLine.find(' ');
    std::size_t lastSpace = requestLine.rfind(' ');
    if (firstSpace != std::string_view::npos && lastSpace > firstSpace) {
        request.method = requestLine.substr(0, firstSpace);
        request.target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
        request.version = requestLine.substr(lastSpace + 1);
    }
    while (lineEnd != std::string_view::npos) {
        std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        std::string_view line = head.substr(start, lineEnd - start);
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        request.headers.emplace_back(line.substr(0, colon), TrimBlanks(line.substr(colon + 1)));
    }
}

// One whole request, or nothing when the peer left before its header block ended.
std::optional<ReceivedRequest> ReadRequest(Channel& channel) {
    std::string data;
    char buffer[16384];
    std::size_t headEnd;
    while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
        if (data.size() > kMaxHeadBytes) return std::nullopt;
        std::size_t n = channel.Read(buffer, sizeof buffer);
        if (n == 0) return std::nullopt;
        data.append(buffer, n);
    }
    ReceivedRequest request;
    ParseHead(std::string_view(data).substr(0, headEnd), request);
    std::size_t total = headEnd + 4 + ContentLength(request).value_or(0);
    while (data.size() < total) {
        std::size_t n = channel.Read(buffer, std::min(sizeof buffer, total - data.size()));
        if (n == 0) break;
        data.append(buffer, n);
    }
    data.resize(std::min(data.size(), total));
    request.body = data.substr(headEnd + 4);
    request.raw = std::move(data);
    return request;
}

void IgnoreSigpipe() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

void SetIdleLimits(int fd) {
    timeval idle{kIdleSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &idle, sizeof idle);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &idle, sizeof idle);
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

Reply Misbehave(Behaviour behaviour) {
    Reply reply;
    reply.behaviour = behaviour;
    return reply;
}

}  // namespace

std::string ReceivedRequest::Path() const {
    return target.substr(0, target.find('?'));
}

std::optional<std::string> ReceivedRequest::Header(std::string_view name) const {
    for (const auto& [headerName, value] : headers) {
        if (SameIgnoringCase(headerName, name)) return value;
    }
    return std::nullopt;
}

int ReceivedRequest::HeaderCount(std::string_view name) const {
    int count = 0;
    for (const auto& header : headers)
        count += SameIgnoringCase(header.first, name) ? 1 : 0;
    return count;
}

std::string HttpResponse(int status, std::string_view body,
                         const std::vector<std::string>& extraHeaderLines) {
    std::string response =
        "HTTP/1.1 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
    for (const std::string& line : extraHeaderLines)
        response += line + "\r\n";
    response += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    response += body;
    return response;
}

Reply Answer(std::string rawResponse) {
    Reply reply;
    reply.bytes = std::move(rawResponse);
    return reply;
}

Reply Ok(std::string_view body) {
    return Answer(HttpResponse(200, body));
}

Reply Trickle(std::string rawResponse, std::chrono::milliseconds pause) {
    Reply reply = Answer(std::move(rawResponse));
    reply.behaviour = Behaviour::Trickle;
    reply.pause = pause;
    return reply;
}

Reply Silent(std::string firstBytes) {
    Reply reply = Answer(std::move(firstBytes));
    reply.behaviour = Behaviour::Silent;
    return reply;
}

Reply Reset() {
    return Misbehave(Behaviour::Reset);
}
Reply RedirectLoop() {
    return Misbehave(Behaviour::RedirectLoop);
}
Reply EndlessBody() {
    return Misbehave(Behaviour::EndlessBody);
}

Reply SlowBody(std::string start, std::size_t bytes, std::size_t pieceBytes,
               std::chrono::milliseconds pause) {
    Reply reply = Misbehave(Behaviour::SlowBody);
    reply.bytes = std::move(start);
    reply.bodyBytes = bytes;
    reply.pieceBytes = pieceBytes;
    reply.pause = pause;
    return reply;
}

Reply Garbage(std::size_t bytes) {
    Reply reply = Misbehave(Behaviour::Garbage);
    reply.garbageBytes = bytes;
    return reply;
}

std::string BinaryNoise(std::size_t bytes, unsigned seed) {
    std::minstd_rand generator(seed);
    std::string noise(bytes, '\0');
    for (std::size_t i = 1; i < bytes; ++i)
        noise[i] = static_cast<char>(generator() >> 7);
    return noise;
}

struct LoopbackServer::Connection {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> finished{false};
};

struct LoopbackServer::Tls {
    SSL_CTX* context = nullptr;
    ~Tls() { SSL_CTX_free(context); }
};

int ListenOnLoopback(int port, int& boundPort, const char* who) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int reuse = 1;
    if (fd >= 0) setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(fd, SOMAXCONN) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) close(fd);
        throw std::runtime_error(std::string(who) + ": cannot listen on 127.0.0.1");
    }
    boundPort = ntohs(address.sin_port);
    return fd;
}

LoopbackServer::LoopbackServer(Reply canned, std::optional<TlsFiles> tls, int port)
    : LoopbackServer([canned](const ReceivedRequest&) { return canned; }, std::move(tls), port) {}

LoopbackServer::LoopbackServer(Handler handler, std::optional<TlsFiles> tls, int port)
    : handler_(std::move(handler)) {
    IgnoreSigpipe();
    if (tls) {
        tls_ = std::make_unique<Tls>();
        tls_->context = SSL_CTX_new(TLS_server_method());
        if (tls_->context == nullptr ||
            SSL_CTX_use_certificate_chain_file(tls_->context, tls->certificateFile.c_str()) != 1 ||
            SSL_CTX_use_PrivateKey_file(tls_->context, tls->privateKeyFile.c_str(),
                                        SSL_FILETYPE_PEM) != 1) {
            throw std::runtime_error("loopback server: cannot load the TLS files");
        }
    }
    listenFd_ = ListenOnLoopback(port, port_, "loopback server");
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    Stop();
}

std::string LoopbackServer::BaseUrl() const {
    return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

void LoopbackServer::SetHandler(Handler handler) {
    std::lock_guard guard(mutex_);
    handler_ = std::move(handler);
}

void LoopbackServer::SetReply(Reply canned) {
    SetHandler([canned](const ReceivedRequest&) { return canned; });
}

std::vector<ReceivedRequest> LoopbackServer::Requests() const {
    std::lock_guard guard(mutex_);
    return requests_;
}

std::size_t LoopbackServer::RequestCount() const {
    std::lock_guard guard(mutex_);
    return requests_.size();
}

std::size_t LoopbackServer::RequestCount(std::string_view target) const {
    std::lock_guard guard(mutex_);
    auto found = countByTarget_.find(target);
    return found == countByTarget_.end() ? 0 : found->second;
}

void LoopbackServer::ClearRequests() {
    std::lock_guard guard(mutex_);
    requests_.clear();
    countByTarget_.clear();
}

bool LoopbackServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

void LoopbackServer::Stop() {
    {
        std::lock_guard guard(mutex_);
        if (stopping_) return;
        stopping_ = true;
    }
    changed_.notify_all();
    acceptThread_.join();
    close(listenFd_);
    {
        std::lock_guard guard(mutex_);
        for (const auto& connection : connections_) {
            if (connection->fd >= 0) shutdown(connection->fd, SHUT_RDWR);
        }
    }
    for (const auto& connection : connections_)
        connection->thread.join();
    connections_.clear();
}

bool LoopbackServer::Stopping() const {
    std::lock_guard guard(mutex_);
    return stopping_;
}

bool LoopbackServer::SleepUnlessStopped(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [&] { return stopping_; });
}

void LoopbackServer::JoinFinished() {
    std::lock_guard guard(mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if ((*it)->finished) {
            (*it)->thread.join();
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

void LoopbackServer::AcceptLoop() {
    while (!Stopping()) {
        JoinFinished();
        pollfd ready{listenFd_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(kPollInterval.count())) <= 0) continue;
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        SetIdleLimits(fd);
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        Connection& accepted = *connection;
        {
            std::lock_guard guard(mutex_);
            connections_.push_back(std::move(connection));
            accepted.thread = std::thread([this, &accepted] { Serve(accepted); });
        }
    }
}

void LoopbackServer::Record(const ReceivedRequest& request) {
    {
        std::lock_guard guard(mutex_);
        requests_.push_back(request);
        ++countByTarget_[request.target];
    }
    changed_.notify_all();
}

void LoopbackServer::Serve(Connection& connection) {
    int fd = connection.fd;
    SSL* ssl = nullptr;
    bool handshakeDone = true;
    if (tls_) {
        ssl = SSL_new(tls_->context);
        handshakeDone = ssl != nullptr && SSL_set_fd(ssl, fd) == 1 && SSL_accept(ssl) == 1;
    }
    bool reset = false;
    Channel channel(fd, ssl);
    std::optional<ReceivedRequest> request;
    if (handshakeDone) request = ReadRequest(channel);
    if (request) {
        Record(*request);
        Handler handler;
        {
            std::lock_guard guard(mutex_);
            handler = handler_;
        }
        Reply reply = handler(*request);
        if (reply.delay.count() == 0 || SleepUnlessStopped(reply.delay)) {
            switch (reply.behaviour) {
                case Behaviour::Answer:
                    channel.Write(reply.bytes);
                    break;
                case Behaviour::Trickle:
                    for (char byte : reply.bytes) {
                        if (!SleepUnlessStopped(reply.pause) || !channel.Write({&byte, 1})) break;
                    }
                    break;
                case Behaviour::Silent:
                    if (!channel.Write(reply.bytes)) break;
                    while (!Stopping()) {
                        pollfd ready{fd, POLLIN | POLLRDHUP, 0};
                        if (poll(&ready, 1, static_cast<int>(kPollInterval.count())) <= 0) continue;
                        char discard[4096];
                        if ((ready.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0 ||
                            recv(fd, discard, sizeof discard, 0) <= 0) {
                            break;
                        }
                    }
                    break;
                case Behaviour::Reset: {
                    linger abort{1, 0};
                    setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
                    reset = true;
                    break;
                }
                case Behaviour::RedirectLoop:
                    channel.Write(HttpResponse(302, "", {"Location: " + request->target}));
                    break;
                case Behaviour::Garbage:
                    channel.Write(BinaryNoise(reply.garbageBytes));
                    break;
                case Behaviour::EndlessBody: {
                    const std::string chunk(16384, 'x');
                    if (!channel.Write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")) break;
                    while (!Stopping() && channel.Write(chunk)) {
                    }
                    break;
                }
                case Behaviour::SlowBody: {
                    const std::string piece(reply.pieceBytes, 's');
                    if (!channel.Write("HTTP/1.1 200 OK\r\nContent-Length: " +
                                       std::to_string(reply.bodyBytes) +
                                       "\r\nConnection: close\r\n\r\n" + reply.bytes)) {
                        break;
                    }
                    for (std::size_t sent = reply.bytes.size(); sent < reply.bodyBytes;
                         sent += piece.size()) {
                        const std::size_t size = std::min(piece.size(), reply.bodyBytes - sent);
                        if (!SleepUnlessStopped(reply.pause) ||
                            !channel.Write({piece.data(), size}))
                            break;
                    }
                    break;
                }
            }
        }
    }
    if (ssl != nullptr) {
        if (handshakeDone && !reset) SSL_shutdown(ssl);
        SSL_free(ssl);
    }
    {
        std::lock_guard guard(mutex_);
        connection.fd = -1;
        close(fd);
    }
    connection.finished = true;
}

TestCertificate::TestCertificate() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sirelo-cert-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("test certificate: no temporary folder");
    }
    directory_ = pattern;
    files_.certificateFile = directory_ + "/cert.pem";
    files_.privateKeyFile = directory_ + "/key.pem";
    std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
        " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout '" +
        files_.privateKeyFile + "' -out '" + files_.certificateFile + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::filesystem::remove_all(directory_);
        throw std::runtime_error("test certificate: openssl failed");
    }
}

TestCertificate::~TestCertificate() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

}  // namespace sirelo::testsupport
