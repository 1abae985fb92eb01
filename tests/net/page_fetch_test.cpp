#include "net/page_fetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_server.h"

namespace sirelo {
namespace {

using testsupport::Answer;
using testsupport::BinaryNoise;
using testsupport::HttpResponse;
using testsupport::LoopbackServer;
using testsupport::Ok;
using testsupport::ReceivedRequest;

TEST(PageFetchWireTest, SendsAPlainHttp10GetWithOneAcceptLine) {
    LoopbackServer server(Ok("<html>hits</html>"));
    Bytes page = PageFetch(server.BaseUrl() + "/sou/%61%62%63/time-3.html");
    EXPECT_EQ(page, "<html>hits</html>");
    std::vector<ReceivedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw,
              "GET /sou/%61%62%63/time-3.html HTTP/1.0\r\n"
              "Host: 127.0.0.1:" +
                  std::to_string(server.Port()) +
                  "\r\n"
                  "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
                  "Accept: */*\r\n"
                  "\r\n");
}

TEST(PageFetchWireTest, DropsTheFragment) {
    LoopbackServer server(Ok("x"));
    PageFetch(server.BaseUrl() + "/detail/7.html#play");
    PageFetch(server.BaseUrl() + "/list?page=2#top#again");
    EXPECT_EQ(server.RequestCount("/detail/7.html"), 1u);
    EXPECT_EQ(server.RequestCount("/list?page=2"), 1u);
}

// A site's redirect cannot make the program send credentials either.
TEST(PageFetchWireTest, NeverSendsTheUserPartOfARedirect) {
    LoopbackServer server([](const ReceivedRequest& request) {
        if (request.target == "/old") {
            return Answer(HttpResponse(301, "",
                                       {"Location: http://user:pw@127.0.0.1:" +
                                        request.Header("Host")->substr(10) + "/private"}));
        }
        return Ok("x");
    });
    PageFetch(server.BaseUrl() + "/old");
    for (const ReceivedRequest& request : server.Requests())
        EXPECT_FALSE(request.Header("Authorization").has_value()) << request.target;
}

TEST(PageFetchWireTest, FollowsRedirects) {
    LoopbackServer server([](const ReceivedRequest& request) {
        if (request.target == "/old") return Answer(HttpResponse(301, "", {"Location: /new"}));
        return Ok("new page");
    });
    EXPECT_EQ(PageFetch(server.BaseUrl() + "/old"), "new page");
    EXPECT_EQ(server.RequestCount("/new"), 1u);
}

TEST(PageFetchRefusalTest, AnEmptyUrlOpensNothing) {
    EXPECT_EQ(PageFetch(""), "");
}

TEST(PageFetchRefusalTest, OnlyHttpAndHttpsWithinTheSplitLimitsAreFetched) {
    LoopbackServer server(Ok("x"));
    std::string hostPort = "127.0.0.1:" + std::to_string(server.Port());
    EXPECT_EQ(PageFetch(hostPort + "/no-scheme"), "");
    EXPECT_EQ(PageFetch("ftp://" + hostPort + "/file"), "");
    EXPECT_EQ(PageFetch("file:///etc/hostname"), "");
    EXPECT_EQ(PageFetch("http://" + hostPort + "/" + std::string(2048, 'o')), "");
    EXPECT_EQ(PageFetch("http://" + std::string(300, 'h') + ".cn/"), "");
    EXPECT_EQ(PageFetch("http://" + std::string(129, 'u') + "@" + hostPort + "/"), "");
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_EQ(PageFetch("http://" + hostPort + "/" + std::string(2047, 'o')), "x");
}

TEST(PageFetchBodyTest, AnErrorPageIsReturned) {
    LoopbackServer server(Answer(HttpResponse(404, "<h1>404</h1>")));
    EXPECT_EQ(PageFetch(server.BaseUrl() + "/missing"), "<h1>404</h1>");
}

TEST(PageFetchBodyTest, BinaryBodiesArriveWholeWithOrWithoutLength) {
    std::string image = BinaryNoise(500000);
    LoopbackServer server([&image](const ReceivedRequest& request) {
        if (request.target == "/sized") return Ok(image);
        return Answer("HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + image);
    });
    EXPECT_EQ(PageFetch(server.BaseUrl() + "/sized"), image);
    EXPECT_EQ(PageFetch(server.BaseUrl() + "/unsized"), image);
}

std::string PageBody(const std::string& target) {
    std::string body;
    while (body.size() < 40000)
        body += target + ";";
    return body;
}

// The first fetches of the process start together here, so the shared state is
// created under contention.
TEST(PageFetchConcurrencyTest, SixtyFourThreadsEachGetTheirWholePage) {
    constexpr int kThreads = 64;
    LoopbackServer server(
        [](const ReceivedRequest& request) { return Ok(PageBody(request.target)); });
    std::latch start(kThreads);
    std::atomic<int> whole{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            std::string target = "/page/" + std::to_string(i);
            start.arrive_and_wait();
            if (PageFetch(server.BaseUrl() + target) == PageBody(target)) ++whole;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(whole.load(), kThreads);
    EXPECT_EQ(server.RequestCount(), static_cast<std::size_t>(kThreads));
}

}  // namespace
}  // namespace sirelo
