#pragma once
// The HTTP side of the server, on cpp-httplib: the paths clients of multi-site
// search servers use, and the bounds that keep one client from holding the rest.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "torznab_service.h"

namespace httplib {
class Server;
}

namespace sirelo::torznab {

struct ServerOptions {
    std::string bind = "127.0.0.1";
    int port = 9610;  // 0: any free port
    int maxWorking = 8;
    std::chrono::milliseconds waitForTurn{10'000};  // then 503
    // Connections read and written at once; more than maxWorking, so that slow
    // clients hold a connection each but no search.
    int connectionThreads = 32;
    std::chrono::seconds ioTimeout{5};  // per read or write
};

// A request line and its headers together.
inline constexpr std::size_t kMaxRequestHead = 8 * 1024;

class TorznabServer {
  public:
    TorznabServer(TorznabService& service, ServerOptions options);
    ~TorznabServer();
    TorznabServer(const TorznabServer&) = delete;
    TorznabServer& operator=(const TorznabServer&) = delete;

    // Takes the address and port; false when they cannot be had.
    bool bind();
    // The port taken by bind().
    int port() const { return port_; }
    // Serves on the calling thread until stop().
    void run();
    // Any thread.
    void stop();

  private:
    bool enterTurn();
    void leaveTurn();

    TorznabService& service_;
    const ServerOptions options_;
    std::unique_ptr<httplib::Server> http_;
    int port_ = 0;
    std::mutex turnMutex_;
    std::condition_variable turnFree_;
    int working_ = 0;
};

}  // namespace sirelo::torznab
