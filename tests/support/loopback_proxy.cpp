#include "support/loopback_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "support/loopback_server.h"

namespace sirelo::testsupport {

namespace {

constexpr int kIdleMs = 10'000;
constexpr int kPollMs = 20;
constexpr std::size_t kMaxHeadBytes = 64 * 1024;

// Waits for `fd` to be readable; false on idle time-out or stop.
bool WaitReadable(int fd, const std::atomic<bool>& stop) {
    for (int waited = 0; waited < kIdleMs && !stop; waited += kPollMs) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, kPollMs) > 0) return true;
    }
    return false;
}

bool ReadExactly(int fd, char* buffer, std::size_t size, const std::atomic<bool>& stop) {
    for (std::size_t got = 0; got < size;) {
        if (!WaitReadable(fd, stop)) return false;
        ssize_t n = recv(fd, buffer + got, size - got, 0);
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The bytes up to and including the blank line that ends a header block, and
// whatever came after them in the same reads.
std::optional<std::pair<std::string, std::string>> ReadHead(int fd, const std::atomic<bool>& stop) {
    std::string data;
    char buffer[4096];
    while (data.size() < kMaxHeadBytes) {
        std::size_t end = data.find("\r\n\r\n");
        if (end != std::string::npos)
            return std::pair{data.substr(0, end + 4), data.substr(end + 4)};
        if (!WaitReadable(fd, stop)) return std::nullopt;
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return std::nullopt;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

// A connection to 127.0.0.1 (or localhost) on `port`; -1 for any other host.
int ConnectLoopback(std::string_view host, int port) {
    if (host != "127.0.0.1" && host != "localhost") return -1;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0) close(fd);
    return -1;
}

// Copies bytes both ways until either side leaves, idles or the proxy stops.
void Relay(int a, int b, const std::atomic<bool>& stop) {
    char buffer[16384];
    for (int idle = 0; idle < kIdleMs && !stop;) {
        pollfd ready[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
        if (poll(ready, 2, kPollMs) <= 0) {
            idle += kPollMs;
            continue;
        }
        idle = 0;
        for (int side = 0; side < 2; ++side) {
            if (ready[side].revents == 0) continue;
            ssize_t n = recv(ready[side].fd, buffer, sizeof buffer, 0);
            if (n <= 0 || !WriteAll(ready[1 - side].fd, {buffer, static_cast<std::size_t>(n)}))
                return;
        }
    }
}

// "host:port" split; port 0 when it does not parse.
std::pair<std::string, int> HostAndPort(std::string_view authority, int defaultPort) {
    std::size_t colon = authority.rfind(':');
    if (colon == std::string_view::npos) return {std::string(authority), defaultPort};
    std::string port(authority.substr(colon + 1));
    return {std::string(authority.substr(0, colon)),
            port.empty() || port.size() > 5 ? 0 : std::stoi(port)};
}

}  // namespace

struct LoopbackProxy::Connection {
    int fd = -1;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::thread thread;
};

LoopbackProxy::LoopbackProxy(ProxyKind kind) : kind_(kind) {
    listenFd_ = ListenOnLoopback(0, port_, "loopback proxy");
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackProxy::~LoopbackProxy() {
    Stop();
}

std::string LoopbackProxy::Url() const {
    return std::string(kind_ == ProxyKind::Http ? "http" : "socks5") +
           "://127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LoopbackProxy::Log() const {
    std::lock_guard guard(mutex_);
    return log_;
}

bool LoopbackProxy::Stopping() const {
    std::lock_guard guard(mutex_);
    return stopping_;
}

void LoopbackProxy::Stop() {
    {
        std::lock_guard guard(mutex_);
        if (stopping_) return;
        stopping_ = true;
        for (const auto& connection : connections_)
            connection->stop = true;
    }
    acceptThread_.join();
    close(listenFd_);
    for (const auto& connection : connections_)
        connection->thread.join();
    connections_.clear();
}

void LoopbackProxy::AcceptLoop() {
    while (!Stopping()) {
        {
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
        pollfd ready{listenFd_, POLLIN, 0};
        if (poll(&ready, 1, kPollMs) <= 0) continue;
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        Connection& accepted = *connection;
        std::lock_guard guard(mutex_);
        connections_.push_back(std::move(connection));
        accepted.thread = std::thread([this, &accepted] { Serve(accepted); });
    }
}

void LoopbackProxy::Serve(Connection& connection) {
    const int client = connection.fd;
    const std::atomic<bool>& stop = connection.stop;
    int server = -1;
    if (kind_ == ProxyKind::Http) {
        if (auto head = ReadHead(client, stop)) {
            const std::string& block = head->first;
            const std::string requestLine = block.substr(0, block.find("\r\n"));
            const std::size_t targetAt = requestLine.find(' ') + 1;
            const std::size_t versionAt = requestLine.find(' ', targetAt);
            const std::string method = requestLine.substr(0, targetAt - 1);
            const std::string target = requestLine.substr(targetAt, versionAt - targetAt);
            {
                std::lock_guard guard(mutex_);
                log_.push_back(requestLine);
            }
            if (method == "CONNECT") {
                auto [host, port] = HostAndPort(target, 443);
                server = ConnectLoopback(host, port);
                if (server >= 0 &&
                    WriteAll(client, "HTTP/1.1 200 Connection established\r\n\r\n") &&
                    WriteAll(server, head->second)) {
                    Relay(client, server, stop);
                }
            } else if (target.starts_with("http://")) {
                // Absolute form to origin form; everything else goes as it came.
                const std::size_t pathAt = target.find('/', 7);
                auto [host, port] = HostAndPort(target.substr(7, pathAt - 7), 80);
                server = ConnectLoopback(host, port);
                const std::string path = pathAt == std::string::npos ? "/" : target.substr(pathAt);
                if (server >= 0 &&
                    WriteAll(server, method + " " + path + requestLine.substr(versionAt) +
                                         block.substr(requestLine.size()) + head->second)) {
                    Relay(client, server, stop);
                }
            }
        }
    } else {
        unsigned char greeting[2];
        unsigned char request[4];
        char methods[255];
        if (ReadExactly(client, reinterpret_cast<char*>(greeting), 2, stop) && greeting[0] == 5 &&
            ReadExactly(client, methods, greeting[1], stop) && WriteAll(client, {"\x05\x00", 2}) &&
            ReadExactly(client, reinterpret_cast<char*>(request), 4, stop) && request[1] == 1) {
            std::string host;
            if (request[3] == 1) {
                unsigned char ip[4];
                if (ReadExactly(client, reinterpret_cast<char*>(ip), 4, stop)) {
                    host = std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." +
                           std::to_string(ip[2]) + "." + std::to_string(ip[3]);
                }
            } else if (request[3] == 3) {
                unsigned char length = 0;
                if (ReadExactly(client, reinterpret_cast<char*>(&length), 1, stop)) {
                    host.resize(length);
                    if (!ReadExactly(client, host.data(), length, stop)) host.clear();
                }
            }
            unsigned char portBytes[2];
            if (!host.empty() && ReadExactly(client, reinterpret_cast<char*>(portBytes), 2, stop)) {
                const int port = portBytes[0] * 256 + portBytes[1];
                {
                    std::lock_guard guard(mutex_);
                    log_.push_back("CONNECT " + host + ":" + std::to_string(port));
                }
                server = ConnectLoopback(host, port);
                const char reply[] = {
                    5, static_cast<char>(server >= 0 ? 0 : 5), 0, 1, 0, 0, 0, 0, 0, 0};
                if (WriteAll(client, {reply, sizeof reply}) && server >= 0)
                    Relay(client, server, stop);
            }
        }
    }
    if (server >= 0) close(server);
    close(client);
    connection.finished = true;
}

}  // namespace sirelo::testsupport
