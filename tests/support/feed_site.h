#pragma once
// A definitions feed served from a LoopbackServer: the file at /sites.toml and
// its signature at /sites.toml.minisig, each with an ETag; a request that
// carries the file's ETag in If-None-Match gets 304.

#include <mutex>
#include <string>

#include "support/loopback_server.h"

namespace sirelo::testing {

class FeedSite {
  public:
    FeedSite()
        : server_([this](const testsupport::ReceivedRequest& request) { return answer(request); }) {
    }

    // Served from now on, under a new ETag.
    void serve(std::string file, std::string signature) {
        std::lock_guard lock(mutex_);
        file_ = std::move(file);
        signature_ = std::move(signature);
        etag_ = "\"v" + std::to_string(++generation_) + "\"";
    }
    // Every answer waits this long first (a Stop ends the wait).
    void delayAnswers(std::chrono::milliseconds delay) {
        std::lock_guard lock(mutex_);
        delay_ = delay;
    }

    std::string address() const { return server_.BaseUrl() + "/sites.toml"; }
    std::string etag() const {
        std::lock_guard lock(mutex_);
        return etag_;
    }
    testsupport::LoopbackServer& server() { return server_; }

  private:
    testsupport::Reply answer(const testsupport::ReceivedRequest& request) {
        std::lock_guard lock(mutex_);
        testsupport::Reply reply;
        const std::string etagLine = "ETag: " + etag_;
        if (request.Path() == "/sites.toml" && request.Header("If-None-Match") == etag_) {
            reply = testsupport::Answer(testsupport::HttpResponse(304, "", {etagLine}));
        } else if (request.Path() == "/sites.toml") {
            reply = testsupport::Answer(testsupport::HttpResponse(200, file_, {etagLine}));
        } else if (request.Path() == "/sites.toml.minisig") {
            reply = testsupport::Answer(testsupport::HttpResponse(200, signature_));
        } else {
            reply = testsupport::Answer(testsupport::HttpResponse(404, "none"));
        }
        reply.delay = delay_;
        return reply;
    }

    mutable std::mutex mutex_;
    std::string file_, signature_, etag_;
    int generation_ = 0;
    std::chrono::milliseconds delay_{0};
    testsupport::LoopbackServer server_;  // last: stopped before the rest goes
};

}  // namespace sirelo::testing
