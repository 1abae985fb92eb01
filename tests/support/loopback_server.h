#pragma once
// A small HTTP/1.x server for tests, on 127.0.0.1 and (normally) an ephemeral port.
//
// The server starts in its constructor and stops in its destructor (or at
// Stop()). Every connection carries one request: the server reads it, records
// its raw bytes and its parsed form, asks the handler (or takes the canned
// reply) how to answer, carries that out and closes the connection. Besides
// plain answers it can misbehave the way hostile sites do: never answer, reset
// the connection, answer byte by byte, redirect forever, send noise instead of
// HTTP, or send a body that never ends.
//
// Every loop is bounded: by the client leaving, by a 10-second idle limit on
// reads and writes, and by Stop(), which ends every connection at once. All
// member functions are safe to call from any thread; the handler runs on the
// connection's own thread, several at once, so it must be thread-safe too.
// Writes to a client that left would raise SIGPIPE, so the server ignores that
// signal for the whole test process.
//
// A request whose header block never ends is not recorded. With TLS files the
// server speaks https (OpenSSL); see TestCertificate.
//
//   LoopbackServer server([](const ReceivedRequest& request) {
//       if (request.Path() == "/slow") return Silent();
//       return Answer(HttpResponse(404, "<h1>gone</h1>"));
//   });
//   Bytes page = PageFetch(server.BaseUrl() + "/missing");
//   EXPECT_EQ(server.RequestCount("/missing"), 1u);

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace sirelo::testsupport {

struct ReceivedRequest {
    std::string raw;      // every byte as it arrived: request line, header block, body
    std::string method;   // "GET"
    std::string target;   // as the request line writes it: "/a/b?c=1"
    std::string version;  // "HTTP/1.1"
    std::vector<std::pair<std::string, std::string>> headers;  // in order, names as sent
    std::string body;  // Content-Length bytes after the header block

    std::string Path() const;  // the target without its query
    // The value of the first header of that name (ASCII case ignored).
    std::optional<std::string> Header(std::string_view name) const;
    int HeaderCount(std::string_view name) const;
};

enum class Behaviour {
    Answer,        // send `bytes`, then close
    Trickle,       // send `bytes` one byte at a time, `pause` before each, then close
    Silent,        // send `bytes` (usually none), then hold the connection silently until
                   // the client leaves or Stop()
    Reset,         // reset the connection (TCP RST) instead of answering
    RedirectLoop,  // "302 Found" back to the same target, every time
    Garbage,       // `garbageBytes` bytes of binary noise instead of a response, then close
    EndlessBody,   // a 200 header block without length, then body bytes until the client leaves
    SlowBody,      // a 200 header block announcing `bodyBytes`, then `bytes` and filler up
                   // to that length in pieces of `pieceBytes`, `pause` before each
};

struct Reply {
    Behaviour behaviour = Behaviour::Answer;
    std::string bytes;  // Answer, Trickle, Silent: the raw response, status line first
    std::chrono::milliseconds delay{0};  // waited before any answer
    std::chrono::milliseconds pause{5};  // Trickle: before each byte
    std::size_t garbageBytes = 4096;
    std::size_t bodyBytes = 0;
    std::size_t pieceBytes = 65536;
};

// "HTTP/1.1 <status> <reason>", the extra lines (each without line end),
// Content-Length and "Connection: close", then the body.
std::string HttpResponse(int status, std::string_view body,
                         const std::vector<std::string>& extraHeaderLines = {});

Reply Answer(std::string rawResponse);
Reply Ok(std::string_view body);  // 200 with that body
Reply Trickle(std::string rawResponse, std::chrono::milliseconds pause);
Reply Silent(std::string firstBytes = {});
Reply Reset();
Reply RedirectLoop();
Reply Garbage(std::size_t bytes);
Reply EndlessBody();
Reply SlowBody(std::string start, std::size_t bytes, std::size_t pieceBytes,
               std::chrono::milliseconds pause);

// Deterministic noise: every byte value, zero bytes included.
std::string BinaryNoise(std::size_t bytes, unsigned seed = 1);

using Handler = std::function<Reply(const ReceivedRequest&)>;

struct TlsFiles {
    std::string certificateFile;  // PEM
    std::string privateKeyFile;   // PEM
};

// A socket listening on 127.0.0.1:`port` (0: an ephemeral one), its port put
// in `boundPort`; throws std::runtime_error naming `who` when none can be had.
int ListenOnLoopback(int port, int& boundPort, const char* who);

class LoopbackServer {
  public:
    // `port` 0 takes an ephemeral port, as every test must; a tool serving
    // fixtures may ask for a fixed one. Throws std::runtime_error when the
    // port or the TLS files cannot be had.
    explicit LoopbackServer(Handler handler, std::optional<TlsFiles> tls = std::nullopt,
                            int port = 0);
    explicit LoopbackServer(Reply canned, std::optional<TlsFiles> tls = std::nullopt, int port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>", or https with TLS; no trailing "/".
    std::string BaseUrl() const;

    void SetHandler(Handler handler);
    void SetReply(Reply canned);

    std::vector<ReceivedRequest> Requests() const;
    std::size_t RequestCount() const;
    // Requests whose request-line target is exactly `target`, query included.
    std::size_t RequestCount(std::string_view target) const;
    void ClearRequests();
    // True once `count` requests have arrived; false when `timeout` passed first.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

    // Ends every connection and joins every thread; the destructor calls it.
    void Stop();

  private:
    struct Connection;
    struct Tls;

    void AcceptLoop();
    void Serve(Connection& connection);
    void Record(const ReceivedRequest& request);
    void JoinFinished();
    bool SleepUnlessStopped(std::chrono::milliseconds duration);
    bool Stopping() const;

    int listenFd_ = -1;
    int port_ = 0;
    std::unique_ptr<Tls> tls_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    Handler handler_;
    std::vector<ReceivedRequest> requests_;
    std::map<std::string, std::size_t, std::less<>> countByTarget_;
    std::list<std::unique_ptr<Connection>> connections_;

    std::thread acceptThread_;
};

// A self-signed certificate for 127.0.0.1 and localhost, made with the openssl
// command in a fresh temporary folder that is removed with the object. Trust
// its certificate file in the client to accept the server.
class TestCertificate {
  public:
    TestCertificate();  // throws std::runtime_error when openssl fails
    ~TestCertificate();
    TestCertificate(const TestCertificate&) = delete;
    TestCertificate& operator=(const TestCertificate&) = delete;

    const TlsFiles& Files() const { return files_; }

  private:
    std::string directory_;
    TlsFiles files_;
};

}  // namespace sirelo::testsupport
