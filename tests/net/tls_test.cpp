// Secure requests against a local TLS server whose certificate the test makes.

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "net/http_request.h"
#include "net/page_fetch.h"
#include "net_test_support.h"
#include "support/loopback_server.h"

namespace sirelo {
namespace {

using testsupport::LoopbackServer;
using testsupport::TestCertificate;

class TlsTest : public ::testing::Test {
  protected:
    TestCertificate certificate;
    LoopbackServer server{testsupport::Ok("<html>secure</html>"), certificate.Files()};
    std::string address = server.BaseUrl() + "/board";
};

TEST_F(TlsTest, ATrustedCertificateLetsBothRoutinesThrough) {
    ScopedTrustedCa trust(certificate.Files().certificateFile);
    EXPECT_EQ(PageFetch(address), "<html>secure</html>");
    std::string headers;
    EXPECT_EQ(HttpRequest(address, 0, {}, std::nullopt, nullptr, {}, &headers),
              "<html>secure</html>");
    EXPECT_EQ(headers.substr(0, 15), "HTTP/1.1 200 OK");
    EXPECT_EQ(server.RequestCount("/board"), 2u);
}

TEST_F(TlsTest, ConcurrentSecureFetchesAllArrive) {
    ScopedTrustedCa trust(certificate.Files().certificateFile);
    constexpr int kThreads = 16;
    std::latch start(kThreads);
    std::atomic<int> whole{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&] {
            start.arrive_and_wait();
            if (PageFetch(address) == "<html>secure</html>") ++whole;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(whole.load(), kThreads);
}

TEST_F(TlsTest, ASchemeInCapitalsIsStillSecure) {
    ScopedTrustedCa trust(certificate.Files().certificateFile);
    EXPECT_EQ(HttpRequest("HTTPS://127.0.0.1:" + std::to_string(server.Port()) + "/board"),
              "<html>secure</html>");
}

TEST_F(TlsTest, TheSystemStoreDoesNotTrustTheTestCertificate) {
    std::string headers;
    EXPECT_EQ(PageFetch(address), "");
    EXPECT_EQ(HttpRequest(address, 0, {}, std::nullopt, nullptr, {}, &headers), "");
    EXPECT_EQ(headers, std::string(5000, ' '));
    EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(TlsTest, AnotherTrustedCertificateDoesNotStandInForIt) {
    TestCertificate other;
    ScopedTrustedCa trust(other.Files().certificateFile);
    EXPECT_EQ(PageFetch(address), "");
    EXPECT_EQ(HttpRequest(address), "");
    EXPECT_EQ(server.RequestCount(), 0u);
}

}  // namespace
}  // namespace sirelo
