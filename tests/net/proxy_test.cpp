// The configured proxy: which values count, and every request through a local
// HTTP or SOCKS5 proxy reaching the site with the same bytes as direct.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/http_proxy.h"
#include "net/http_request.h"
#include "net/page_fetch.h"
#include "net_test_support.h"
#include "support/loopback_proxy.h"
#include "support/loopback_server.h"

namespace sirelo {
namespace {

using testsupport::LoopbackProxy;
using testsupport::LoopbackServer;
using testsupport::ProxyKind;

TEST(ProxySettingTest, OnlyHttpAndSocks5ProxiesWithHostAndPortCount) {
    const std::pair<const char*, const char*> kValues[] = {
        {"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
        {"SOCKS5://proxy.lan:1080/", "socks5://proxy.lan:1080"},
        {"socks5h://proxy-1.lan:65535", "socks5h://proxy-1.lan:65535"},
        {"127.0.0.1:8080", nullptr},
        {"https://127.0.0.1:8080", nullptr},
        {"ftp://127.0.0.1:21", nullptr},
        {"http://127.0.0.1", nullptr},
        {"http://127.0.0.1:0", nullptr},
        {"http://127.0.0.1:65536", nullptr},
        {"http://:8080", nullptr},
        {"http://user@127.0.0.1:8080", nullptr},
        {"http://127.0.0.1:8080/path", nullptr},
        {"http://127.0.0.1: 8080", nullptr},
    };
    for (const auto& [value, url] : kValues) {
        std::optional<std::string> valid = ValidProxyUrl(value);
        EXPECT_EQ(valid.has_value(), url != nullptr) << value;
        if (valid && url) {
            EXPECT_EQ(*valid, url) << value;
        }
    }
}

TEST(ProxySettingTest, AnInvalidProxyIsIgnoredAndSaysSo) {
    LoopbackServer server(testsupport::Ok("direct"));
    ScopedHttpProxy proxy("proxy.lan:8080");
    EXPECT_TRUE(CurrentHttpProxy().ignored);
    FetchResult fetched = PageFetchWithOutcome(server.BaseUrl() + "/");
    EXPECT_EQ(fetched.body, "direct");
    EXPECT_TRUE(fetched.outcome.proxyIgnored);
    TransferOutcome requested;
    HttpRequest(server.BaseUrl() + "/", 1, "wd=x", std::nullopt, nullptr, {}, nullptr, false, {},
                {}, true, &requested);
    EXPECT_TRUE(requested.proxyIgnored);
    EXPECT_EQ(server.RequestCount(), 2u);
}

struct ProxyCase {
    const char* name;
    ProxyKind kind;
    const char* scheme;  // replaces the proxy's own scheme
};

class ThroughProxyTest : public ::testing::TestWithParam<ProxyCase> {};

// The pages a search reads: a result page, the online search post, a detail
// page, and a secure page such as the board or a poster.
TEST_P(ThroughProxyTest, EveryRequestGoesThroughTheProxyWithTheSameBytes) {
    testsupport::TestCertificate certificate;
    ScopedTrustedCa trust(certificate.Files().certificateFile);
    const std::string poster = testsupport::BinaryNoise(30000);
    const auto answer = [&](const testsupport::ReceivedRequest& request) {
        if (request.method == "POST") return testsupport::Ok("hits for " + request.body);
        return testsupport::Ok(request.Path() == "/poster" ? poster : "page " + request.target);
    };
    LoopbackServer plain(answer);
    LoopbackServer secure(answer, certificate.Files());
    const auto readAll = [&] {
        std::vector<Bytes> bodies;
        bodies.push_back(PageFetch(plain.BaseUrl() + "/search/1"));
        bodies.push_back(HttpRequest(plain.BaseUrl() + "/index.php", 1, "wd=%E8%8B%B1"));
        bodies.push_back(PageFetch(plain.BaseUrl() + "/detail/7.html"));
        bodies.push_back(PageFetch(secure.BaseUrl() + "/board"));
        bodies.push_back(PageFetch(secure.BaseUrl() + "/poster"));
        return bodies;
    };
    const std::vector<Bytes> direct = readAll();
    const std::vector<testsupport::ReceivedRequest> directRequests = plain.Requests();

    LoopbackProxy proxy(GetParam().kind);
    std::string url = proxy.Url();
    url = GetParam().scheme + url.substr(url.find("://"));
    plain.ClearRequests();
    secure.ClearRequests();
    std::vector<Bytes> proxied;
    {
        ScopedHttpProxy configured(url);
        proxied = readAll();
    }
    EXPECT_EQ(proxied, direct);
    EXPECT_EQ(proxied[4], poster);
    EXPECT_EQ(proxy.Log().size(), direct.size());
    EXPECT_EQ(plain.RequestCount() + secure.RequestCount(), direct.size());
    const std::vector<testsupport::ReceivedRequest> proxiedRequests = plain.Requests();
    ASSERT_EQ(proxiedRequests.size(), directRequests.size());
    for (std::size_t i = 0; i < directRequests.size(); ++i)
        EXPECT_EQ(proxiedRequests[i].raw, directRequests[i].raw);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ThroughProxyTest,
                         ::testing::Values(ProxyCase{"Http", ProxyKind::Http, "http"},
                                           ProxyCase{"Socks5", ProxyKind::Socks5, "socks5"},
                                           ProxyCase{"Socks5h", ProxyKind::Socks5, "socks5h"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sirelo
