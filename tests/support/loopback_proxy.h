#pragma once
// A tiny forwarding proxy for tests, on 127.0.0.1 and an ephemeral port: an
// HTTP proxy (absolute-form requests and CONNECT tunnels) or a SOCKS5 proxy
// (no authentication, CONNECT only). It forwards only to 127.0.0.1 or
// localhost and logs every request it forwards.
//
// Every loop is bounded: the client or the server leaving, a 10-second idle
// limit, and Stop() (called by the destructor), which ends every connection.
//
//   LoopbackProxy proxy(ProxyKind::Socks5);
//   SetHttpProxy(proxy.Url());  // "socks5://127.0.0.1:<port>"
//   ... fetch ...
//   EXPECT_EQ(proxy.Log().size(), 1u);

#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sirelo::testsupport {

enum class ProxyKind { Http, Socks5 };

class LoopbackProxy {
  public:
    explicit LoopbackProxy(ProxyKind kind);  // throws std::runtime_error when it cannot listen
    ~LoopbackProxy();
    LoopbackProxy(const LoopbackProxy&) = delete;
    LoopbackProxy& operator=(const LoopbackProxy&) = delete;

    // "http://127.0.0.1:<port>" or "socks5://127.0.0.1:<port>".
    std::string Url() const;

    // One line per forwarded request: the HTTP proxy logs the request line it
    // was sent ("GET http://127.0.0.1:8080/a HTTP/1.0", "CONNECT 127.0.0.1:8443
    // HTTP/1.1"), the SOCKS5 proxy "CONNECT host:port".
    std::vector<std::string> Log() const;

    void Stop();

  private:
    struct Connection;

    void AcceptLoop();
    void Serve(Connection& connection);
    bool Stopping() const;

    ProxyKind kind_;
    int listenFd_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    bool stopping_ = false;
    std::vector<std::string> log_;
    std::list<std::unique_ptr<Connection>> connections_;
    std::thread acceptThread_;
};

}  // namespace sirelo::testsupport
