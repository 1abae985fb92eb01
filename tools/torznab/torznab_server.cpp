#include "torznab_server.h"

#include <httplib.h>

#include "torznab_xml.h"

namespace sirelo::torznab {
namespace {

std::size_t HeadSize(const httplib::Request& request) {
    std::size_t size = request.method.size() + request.target.size() + request.version.size() + 4;
    for (const auto& [name, value] : request.headers)
        size += name.size() + value.size() + 4;
    return size;
}

void Send(httplib::Response& response, const Reply& reply) {
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType.c_str());
}

}  // namespace

TorznabServer::TorznabServer(TorznabService& service, ServerOptions options)
    : service_(service), options_(std::move(options)), http_(std::make_unique<httplib::Server>()) {
    const auto threads = static_cast<std::size_t>(options_.connectionThreads);
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    http_->set_read_timeout(options_.ioTimeout);
    http_->set_write_timeout(options_.ioTimeout);
    http_->set_keep_alive_timeout(options_.ioTimeout.count());
    http_->set_payload_max_length(kMaxRequestHead);

    auto handle = [this](std::string indexer) {
        return [this, indexer](const httplib::Request& request, httplib::Response& response) {
            if (HeadSize(request) > kMaxRequestHead) {
                Send(response, {431, "application/xml; charset=utf-8",
                                ErrorDocument(201, "Request header fields too large")});
                return;
            }
            if (!enterTurn()) {
                Send(response, {503, "application/xml; charset=utf-8",
                                ErrorDocument(900, "Too many requests at once")});
                return;
            }
            const std::string id = indexer.empty() ? request.matches[1].str() : indexer;
            Reply reply;
            try {
                reply = service_.answer(id, request.params);
            } catch (const std::exception&) {
                reply = {500, "application/xml; charset=utf-8", ErrorDocument(900, "Server error")};
            }
            leaveTurn();
            Send(response, reply);
        };
    };
    http_->Get("/api", handle(std::string(kAllIndexers)));
    http_->Get(R"(/api/v2\.0/indexers/([^/]+)/results/torznab/api)", handle(""));
}

TorznabServer::~TorznabServer() = default;

bool TorznabServer::bind() {
    if (options_.port == 0) {
        port_ = http_->bind_to_any_port(options_.bind);
        return port_ > 0;
    }
    port_ = options_.port;
    return http_->bind_to_port(options_.bind, options_.port);
}

void TorznabServer::run() {
    http_->listen_after_bind();
}

void TorznabServer::stop() {
    http_->stop();
}

bool TorznabServer::enterTurn() {
    std::unique_lock hold(turnMutex_);
    if (!turnFree_.wait_for(hold, options_.waitForTurn,
                            [this] { return working_ < options_.maxWorking; })) {
        return false;
    }
    ++working_;
    return true;
}

void TorznabServer::leaveTurn() {
    std::lock_guard hold(turnMutex_);
    --working_;
    turnFree_.notify_one();
}

}  // namespace sirelo::torznab
