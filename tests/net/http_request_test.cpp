#include "net/http_request.h"

#include <gtest/gtest.h>

#include <string>

#include "support/loopback_server.h"
#include "text/text.h"

namespace sirelo {
namespace {

using testsupport::Answer;
using testsupport::HttpResponse;
using testsupport::LoopbackServer;
using testsupport::Ok;
using testsupport::ReceivedRequest;

constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

std::string HostLine(const LoopbackServer& server) {
    return "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
}

ReceivedRequest OnlyRequest(const LoopbackServer& server) {
    std::vector<ReceivedRequest> requests = server.Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? ReceivedRequest{} : requests.front();
}

TEST(HttpRequestWireTest, OnlinePlaySearchPostGoesOutByteForByte) {
    LoopbackServer server(Ok("<h3>results</h3>"));
    std::string address = server.BaseUrl() + "/index.php?m=vod-search";
    std::string form = "wd=" + UrlEncode("\xB2\xE2\xCA\xD4", false, true);  // GBK for 测试

    Bytes body = HttpRequest(address, 1, form);

    EXPECT_EQ(body, "<h3>results</h3>");
    EXPECT_EQ(OnlyRequest(server).raw, "POST /index.php?m=vod-search HTTP/1.1\r\n" +
                                           HostLine(server) + "User-Agent: " + kAgent +
                                           "\r\n"
                                           "Accept: */*\r\n"
                                           "Referer: " +
                                           address +
                                           "\r\n"
                                           "Accept-Language: zh-cn\r\n"
                                           "Content-Type: application/x-www-form-urlencoded\r\n"
                                           "Content-Length: 21\r\n"
                                           "\r\n"
                                           "wd=%E6%B5%8B%E8%AF%95");
}

TEST(HttpRequestWireTest, EachMethodCodeSendsItsVerb) {
    LoopbackServer server(Ok("x"));
    const std::vector<std::string> verbs = {"GET",     "POST",   "HEAD",  "PUT",
                                            "OPTIONS", "DELETE", "TRACE", "CONNECT"};
    for (int code = 0; code < 8; ++code)
        HttpRequest(server.BaseUrl() + "/verb", code);
    std::vector<std::string> sent;
    for (const ReceivedRequest& request : server.Requests())
        sent.push_back(request.method);
    EXPECT_EQ(sent, verbs);
}

TEST(HttpRequestWireTest, MethodCodesOutOfRangeSendAGet) {
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl() + "/nine", 9);
    HttpRequest(server.BaseUrl() + "/minus", -1);
    for (const ReceivedRequest& request : server.Requests()) {
        EXPECT_EQ(request.method, "GET") << request.target;
        EXPECT_EQ(request.version, "HTTP/1.1");
    }
    EXPECT_EQ(server.RequestCount(), 2u);
}

TEST(HttpRequestWireTest, GetNeverSendsABodyNorAContentType) {
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl() + "/g", 0, "wd=form", std::nullopt, nullptr, {}, nullptr, false,
                "byte body");
    ReceivedRequest request = OnlyRequest(server);
    EXPECT_EQ(request.raw, "GET /g HTTP/1.1\r\n" + HostLine(server) + "User-Agent: " + kAgent +
                               "\r\nAccept: */*\r\nReferer: " + server.BaseUrl() +
                               "/g\r\nAccept-Language: zh-cn\r\n\r\n");
}

TEST(HttpRequestWireTest, PutSendsTheFormTextWithoutContentType) {
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl() + "/p", 3, "a=1&b=2");
    ReceivedRequest request = OnlyRequest(server);
    EXPECT_EQ(request.method, "PUT");
    EXPECT_EQ(request.body, "a=1&b=2");
    EXPECT_EQ(request.Header("Content-Length"), "7");
    EXPECT_EQ(request.HeaderCount("Content-Type"), 0);
}

TEST(HttpRequestWireTest, ByteBodyWinsOverFormTextAndKeepsZeroBytes) {
    LoopbackServer server(Ok("x"));
    std::string bytes("a\0b\0c", 5);
    HttpRequest(server.BaseUrl() + "/b", 1, "ignored", std::nullopt, nullptr, {}, nullptr, false,
                bytes);
    EXPECT_EQ(OnlyRequest(server).body, bytes);
}

TEST(HttpRequestWireTest, ALargePostCarriesNoExpectLine) {
    LoopbackServer server(Ok("x"));
    std::string form = "wd=" + std::string(2u << 20, 'q');
    HttpRequest(server.BaseUrl() + "/big", 1, form);
    ReceivedRequest request = OnlyRequest(server);
    EXPECT_EQ(request.HeaderCount("Expect"), 0);
    EXPECT_EQ(request.body.size(), form.size());
}

TEST(HttpRequestWireTest, LowerCaseAcceptInTheCallersBlockStillGetsTheAcceptLine) {
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl() + "/a", 0, {}, std::nullopt, nullptr, "accept: text/html");
    std::string raw = OnlyRequest(server).raw;
    EXPECT_NE(raw.find("\r\naccept: text/html\r\nAccept: */*\r\nReferer: "), std::string::npos)
        << raw;
}

TEST(HttpRequestWireTest, CallersHeadersComeFirstAndTheirAgentIsSentOnce) {
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl() + "/h", 0, {}, std::nullopt, nullptr,
                "user-agent: Probe/2.0\r\nReferer: http://elsewhere/\r\nX-Extra: 1");
    ReceivedRequest request = OnlyRequest(server);
    EXPECT_EQ(request.HeaderCount("User-Agent"), 1);
    EXPECT_EQ(request.raw, "GET /h HTTP/1.1\r\n" + HostLine(server) +
                               "user-agent: Probe/2.0\r\n"
                               "Referer: http://elsewhere/\r\n"
                               "X-Extra: 1\r\n"
                               "Accept: */*\r\n"
                               "Accept-Language: zh-cn\r\n\r\n");
}

TEST(HttpRequestWireTest, OnlyTheSearchForTheAgentsNameIgnoresCase) {
    // Its value is cut out case-sensitively; when that gives nothing, the agent
    // is the rest of the block after its first colon.
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl() + "/n", 0, {}, std::nullopt, nullptr, "X-Note: user-agent: Probe");
    EXPECT_EQ(OnlyRequest(server).Header("User-Agent"), "user-agent: Probe");
}

TEST(HttpRequestWireTest, AnAddressWithoutPathRequestsTheRoot) {
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl());
    EXPECT_EQ(OnlyRequest(server).target, "/");
}

TEST(HttpRequestWireTest, SpacesInThePathGoOutEncoded) {
    LoopbackServer server(Ok("x"));
    HttpRequest(server.BaseUrl() + "/a b.html");
    EXPECT_EQ(OnlyRequest(server).target, "/a%20b.html");
}

TEST(HttpRequestWireTest, AProxyGetsTheAbsoluteAddressAndNoProxyHeader) {
    LoopbackServer proxy(Ok("via proxy"));
    Bytes body =
        HttpRequest("http://site.invalid/index.php?m=vod-search", 1, "wd=x", std::nullopt, nullptr,
                    {}, nullptr, false, {}, "127.0.0.1:" + std::to_string(proxy.Port()));
    EXPECT_EQ(body, "via proxy");
    ReceivedRequest request = OnlyRequest(proxy);
    EXPECT_EQ(request.target, "http://site.invalid/index.php?m=vod-search");
    EXPECT_EQ(request.Header("Host"), "site.invalid");
    EXPECT_EQ(request.HeaderCount("Proxy-Connection"), 0);
}

class HttpRequestCookieTest : public ::testing::Test {
  protected:
    LoopbackServer server{Answer(
        HttpResponse(200, "page", {"Set-Cookie: a=1; path=/; HttpOnly", "Set-Cookie: b=2"}))};
    std::string returned = "untouched";
};

TEST_F(HttpRequestCookieTest, TwoSetCookieLinesGiveTheirFirstPairs) {
    HttpRequest(server.BaseUrl() + "/c", 0, {}, std::nullopt, &returned);
    EXPECT_EQ(returned, "a=1; b=2");
}

TEST_F(HttpRequestCookieTest, ASuppliedEmptyCookieSendsNoLineButMerges) {
    HttpRequest(server.BaseUrl() + "/c", 0, {}, std::string(), &returned);
    EXPECT_EQ(OnlyRequest(server).HeaderCount("Cookie"), 0);
    EXPECT_EQ(returned, "a=1; b=2");
}

TEST_F(HttpRequestCookieTest, SuppliedCookiesAreSentAndMergedBehindTheNewOnes) {
    HttpRequest(server.BaseUrl() + "/c", 0, {}, std::string("b=9; sid=7"), &returned);
    EXPECT_EQ(OnlyRequest(server).Header("Cookie"), "b=9; sid=7");
    EXPECT_EQ(returned, "a=1; b=2; sid=7");
}

TEST_F(HttpRequestCookieTest, WithoutMergingOnlyTheServersCookiesReturn) {
    HttpRequest(server.BaseUrl() + "/c", 0, {}, std::string("sid=7"), &returned, {}, nullptr, false,
                {}, {}, false);
    EXPECT_EQ(returned, "a=1; b=2");
}

TEST_F(HttpRequestCookieTest, ACookieTextNamingItsLineIsSentAsItStands) {
    HttpRequest(server.BaseUrl() + "/c", 0, {}, std::string("Cookie: x=1"), &returned);
    std::string raw = OnlyRequest(server).raw;
    EXPECT_NE(raw.find("\r\nCookie: x=1\r\n"), std::string::npos) << raw;
}

TEST(HttpRequestResponseTest, ALowerCaseSetCookieIsNotRecognised) {
    LoopbackServer server(Answer(HttpResponse(200, "page", {"set-cookie: a=1"})));
    std::string returned = "untouched";
    HttpRequest(server.BaseUrl(), 0, {}, std::nullopt, &returned);
    EXPECT_EQ(returned, "");
}

TEST(HttpRequestResponseTest, GivesTheRawHeaderBlockOfTheResponse) {
    LoopbackServer server(Answer("HTTP/1.1 200 OK\r\nX-One: 1\nContent-Length: 2\r\n\r\nok"));
    std::string headers;
    EXPECT_EQ(HttpRequest(server.BaseUrl(), 0, {}, std::nullopt, nullptr, {}, &headers), "ok");
    EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nX-One: 1\r\nContent-Length: 2\r\n\r\n");
}

TEST(HttpRequestResponseTest, AHeaderBlockOf5000BytesOrMoreIsSpacesAndSetsNoCookies) {
    LoopbackServer server(Answer(
        HttpResponse(200, "page", {"Set-Cookie: a=1", "X-Padding: " + std::string(5000, 'p')})));
    std::string headers;
    std::string returned = "untouched";
    Bytes body = HttpRequest(server.BaseUrl(), 0, {}, std::nullopt, &returned, {}, &headers);
    EXPECT_EQ(body, "page");
    EXPECT_EQ(headers, std::string(5000, ' '));
    EXPECT_EQ(returned, "");
}

TEST(HttpRequestResponseTest, AnErrorPageBodyIsReturnedLikeAnyOther) {
    LoopbackServer server(Answer(HttpResponse(404, "<h1>missing</h1>")));
    std::string headers;
    EXPECT_EQ(HttpRequest(server.BaseUrl() + "/gone", 0, {}, std::nullopt, nullptr, {}, &headers),
              "<h1>missing</h1>");
    EXPECT_EQ(TextLeft(headers, 22), "HTTP/1.1 404 Not Found");
}

TEST(HttpRequestResponseTest, AnUnreachableHostGivesNothingButTheMergedCookies) {
    int closedPort;
    {
        LoopbackServer gone(Ok("x"));
        closedPort = gone.Port();
    }
    std::string headers;
    std::string returned;
    Bytes body = HttpRequest("http://127.0.0.1:" + std::to_string(closedPort) + "/", 1, "wd=x",
                             std::string("sid=1"), &returned, {}, &headers);
    EXPECT_EQ(body, "");
    EXPECT_EQ(headers, std::string(5000, ' '));
    EXPECT_EQ(returned, "sid=1");
}

class HttpRequestRedirectTest : public ::testing::Test {
  protected:
    LoopbackServer server{[](const ReceivedRequest& request) {
        if (request.target == "/old") {
            return Answer(HttpResponse(302, "moved", {"Location: /new", "Set-Cookie: hop=1"}));
        }
        return Answer(HttpResponse(200, "arrived", {"Set-Cookie: end=2"}));
    }};
};

TEST_F(HttpRequestRedirectTest, FollowsAndReportsTheFinalResponse) {
    std::string headers;
    std::string returned;
    Bytes body =
        HttpRequest(server.BaseUrl() + "/old", 0, {}, std::nullopt, &returned, {}, &headers);
    EXPECT_EQ(body, "arrived");
    EXPECT_EQ(TextLeft(headers, 15), "HTTP/1.1 200 OK");
    EXPECT_EQ(returned, "end=2");
    EXPECT_EQ(server.RequestCount("/new"), 1u);
}

TEST_F(HttpRequestRedirectTest, NoRedirectReturnsTheRedirectItself) {
    std::string headers;
    Bytes body =
        HttpRequest(server.BaseUrl() + "/old", 0, {}, std::nullopt, nullptr, {}, &headers, true);
    EXPECT_EQ(body, "moved");
    EXPECT_EQ(TextLeft(headers, 18), "HTTP/1.1 302 Found");
    EXPECT_EQ(server.RequestCount("/new"), 0u);
}

}  // namespace
}  // namespace sirelo
