// How a transfer ended, for every kind of failure a site can show, through both
// routines: the outcome word, the status, the bytes and whether it was cut.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>

#include "net/http_request.h"
#include "net/page_fetch.h"
#include "net_test_support.h"
#include "support/loopback_server.h"

namespace sirelo {
namespace {

using namespace std::chrono_literals;
using testsupport::LoopbackServer;

// A port on 127.0.0.1 that nobody listens on.
int ClosedPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// The servers a case needs stay alive while it runs.
struct Site {
    std::string url;
    std::shared_ptr<void> keepAlive;
};

Site Serving(testsupport::Reply reply) {
    auto server = std::make_shared<LoopbackServer>(std::move(reply));
    return {server->BaseUrl() + "/", server};
}

struct FailureCase {
    const char* name;
    std::function<Site()> site;
    const char* word;
    int status;
    std::size_t bytes;
    bool cut;
};

HttpLimits CaseLimits() {
    HttpLimits limits;
    // Roomy enough for a TLS handshake under ThreadSanitizer on a loaded machine.
    limits.connectTimeoutMs = 2000;
    limits.stallTimeoutMs = 1000;
    limits.deadlineMs = 2500;
    limits.lowSpeedBytesPerSecond = 0;
    limits.maxBodyBytes = 1000;
    return limits;
}

const FailureCase kCases[] = {
    {"Answered", [] { return Serving(testsupport::Ok("page")); }, "ok", 200, 4, false},
    {"ErrorPage",
     [] { return Serving(testsupport::Answer(testsupport::HttpResponse(404, "gone"))); }, "ok", 404,
     4, false},
    // A label longer than 63 bytes fails in the resolver itself, asking no server.
    {"UnknownHost",
     [] {
         return Site{"http://" + std::string(70, 'a') + ".invalid/", nullptr};
     },
     "dns", 0, 0, false},
    {"RefusedPort",
     [] {
         return Site{"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/", nullptr};
     },
     "refused", 0, 0, false},
    {"NeverAnswers", [] { return Serving(testsupport::Silent()); }, "timeout", 0, 0, false},
    {"SelfSignedCertificate",
     [] {
         auto certificate = std::make_shared<testsupport::TestCertificate>();
         auto server = std::make_shared<LoopbackServer>(testsupport::Ok("x"), certificate->Files());
         return Site{server->BaseUrl() + "/",
                     std::make_shared<std::pair<decltype(certificate), decltype(server)>>(
                         certificate, server)};
     },
     "tls", 0, 0, false},
    {"BodyPastTheCap", [] { return Serving(testsupport::Ok(std::string(5000, 'c'))); }, "capped",
     200, 1000, true},
    // A byte every 100 ms never stalls, yet the deadline ends it.
    {"TricklePastTheDeadline",
     [] {
         return Serving(
             testsupport::Trickle("HTTP/1.1 200 OK\r\n\r\n" + std::string(500, 't'), 100ms));
     },
     "timeout", 0, 0, false},
    {"Noise", [] { return Serving(testsupport::Garbage(4096)); }, "error", 0, 0, false},
};

TEST(TransferOutcomeTest, EachWayATransferEndsIsReported) {
    ScopedHttpLimits limits(CaseLimits());
    for (const FailureCase& failure : kCases) {
        SCOPED_TRACE(failure.name);
        Site site = failure.site();
        FetchResult fetched = PageFetchWithOutcome(site.url);
        TransferOutcome requested;
        Bytes requestedBody = HttpRequest(site.url, 0, {}, std::nullopt, nullptr, {}, nullptr,
                                          false, {}, {}, true, &requested);
        for (const TransferOutcome* outcome : {&fetched.outcome, &requested}) {
            EXPECT_STREQ(OutcomeWord(*outcome), failure.word) << outcome->words;
            EXPECT_EQ(outcome->httpStatus, failure.status);
            EXPECT_EQ(outcome->cut, failure.cut);
            EXPECT_FALSE(outcome->proxyIgnored);
            EXPECT_EQ(outcome->words.empty(), std::string(failure.word) == "ok");
        }
        EXPECT_EQ(fetched.outcome.bytesReceived, fetched.body.size());
        EXPECT_EQ(requested.bytesReceived, requestedBody.size());
        if (failure.bytes != 0) {
            EXPECT_EQ(fetched.body.size(), failure.bytes);
        }
    }
}

TEST(TransferOutcomeTest, AnAddressThatCannotBeFetchedIsAnError) {
    FetchResult fetched = PageFetchWithOutcome("ftp://127.0.0.1/");
    EXPECT_STREQ(OutcomeWord(fetched.outcome), "error");
    EXPECT_FALSE(fetched.outcome.words.empty());
}

}  // namespace
}  // namespace sirelo
