// The feed against what the window lists: the same search of the fixture sites
// through the window's run and through the server, and the server's bounds
// with many clients and a slow one.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <map>
#include <thread>
#include <vector>

#include "app/cell_order.h"
#include "app/run_fakes.h"
#include "app/search_controller.h"
#include "app/site_worker_launcher.h"
#include "text/codepage.h"
#include "torznab_test_support.h"
#include "xml_tree.h"

namespace sirelo::testing {
namespace {

const std::string kKey = std::string("apikey=") + kTestKey;
constexpr int kPages = 5;

struct Row {
    std::string name;  // UTF-8
    std::string site;
    std::string size, heat, created;  // GBK, as the cells hold them
};

// The window's magnet rows by link, after a whole search of `keyword`.
std::map<std::string, Row> WindowRows(const SiteDefinitions& sites, const LiveSettings& settings,
                                      const std::string& keyword) {
    Journal journal;
    FakeRunView view(journal);
    FakeNotifier notifier(journal);
    FakeSearchBox box;
    SteadyClock clock;
    SearchController controller({view, notifier, box, clock}, sites, MakeSiteWorkerLauncher);
    LiveSettings& live = controller.settings();
    live.pageCount = kPages;
    live.intervalMs = 100;
    live.exactSearch = settings.exactSearch.load();
    live.filterLinks = settings.filterLinks.load();
    for (int i = 0; i < kMagnetSiteCount; ++i)
        live.magnetSites[i] = settings.magnetSites[i].load();
    for (auto& site : live.onlineSites)
        site = false;
    box.setText(Utf8ToGbk(keyword));
    controller.startSearch();
    EXPECT_TRUE(WaitForNoLiveThreads(std::chrono::seconds(60)));
    std::map<std::string, Row> rows;
    const ResultList& list = controller.magnetList();
    for (int row = 0; row < list.RowCount(); ++row) {
        rows[GbkToUtf8(list.CellText(row, kMagnetLink))] = {
            GbkToUtf8(list.CellText(row, kMagnetName)), GbkToUtf8(list.CellText(row, kMagnetSite)),
            list.CellText(row, kMagnetSize), list.CellText(row, kMagnetHeat),
            list.CellText(row, kMagnetCreated)};
    }
    return rows;
}

std::string Attr(const XmlElement& item, std::string_view name) {
    const XmlElement* attr = item.findWith(std::string(kTorznabAttr), "name", name);
    return attr ? attr->attributes.at("value") : "(none)";
}

std::string Text(const XmlElement& item, std::string_view name) {
    const XmlElement* element = item.find(name);
    return element ? element->text : "(none)";
}

std::string Number(CellOrder order, const std::string& cell) {
    return std::to_string(std::llround(CellValue(order, cell)));
}

std::string LowerHash(const std::string& link) {
    std::string hash = link.substr(link.find("btih:") + 5, 40);
    for (char& c : hash)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return hash;
}

std::vector<const XmlElement*> Items(const XmlElement& feed) {
    const XmlElement* channel = feed.find("channel");
    return channel ? channel->findAll("item") : std::vector<const XmlElement*>{};
}

TEST(TorznabFeed, HoldsTheRowsTheWindowListsWithEveryField) {
    LiveSettings settings;
    for (auto& site : settings.magnetSites)
        site = true;
    ServedFixtures served(settings, kPages);
    const std::map<std::string, Row> window = WindowRows(served.definitions, settings, "Batman");
    ASSERT_FALSE(window.empty());

    const Answer answer = served.get("/api?t=search&q=Batman&limit=1000&" + kKey);
    ASSERT_EQ(answer.status, 200);
    const std::optional<XmlElement> feed = ParseXml(answer.body);
    ASSERT_TRUE(feed);
    std::map<std::string, const XmlElement*> items;
    for (const XmlElement* item : Items(*feed))
        items[Text(*item, "link")] = item;
    std::vector<std::string> windowLinks, feedLinks;
    for (const auto& [link, row] : window)
        windowLinks.push_back(link);
    for (const auto& [link, item] : items)
        feedLinks.push_back(link);
    ASSERT_EQ(feedLinks, windowLinks);

    for (const auto& [link, row] : window) {
        SCOPED_TRACE(link);
        const XmlElement& item = *items.at(link);
        const XmlElement* indexer = item.find("jackettindexer");
        ASSERT_TRUE(indexer);
        if (indexer->attributes.at("id") != row.site) {
            // Two sites found this link and the window's pages raced: the other
            // site's row came first there. That site's own feed holds the window's.
            const std::optional<XmlElement> own = ParseXml(
                served
                    .get("/api/v2.0/indexers/" + row.site + "/results/torznab/api?q=Batman&" + kKey)
                    .body);
            ASSERT_TRUE(own);
            bool found = false;
            for (const XmlElement* other : Items(*own)) {
                found =
                    found || (Text(*other, "link") == link && Text(*other, "title") == row.name &&
                              Text(*other, "size") == Number(CellOrder::Size, row.size));
            }
            EXPECT_TRUE(found);
            continue;
        }
        EXPECT_EQ(indexer->text, row.site);
        EXPECT_EQ(Text(item, "title"), row.name);
        EXPECT_EQ(Text(item, "guid"), link);
        EXPECT_EQ(Attr(item, "magneturl"), link);
        EXPECT_EQ(Text(item, "size"), Number(CellOrder::Size, row.size));
        EXPECT_EQ(Attr(item, "size"), Number(CellOrder::Size, row.size));
        EXPECT_EQ(Attr(item, "seeders"), Number(CellOrder::Number, row.heat));
        EXPECT_EQ(Attr(item, "peers"), Number(CellOrder::Number, row.heat));
        EXPECT_EQ(Attr(item, "infohash"), LowerHash(link));
        EXPECT_EQ(Text(item, "category"), "2000");
        EXPECT_EQ(Attr(item, "category"), "2000");
        const XmlElement* enclosure = item.find("enclosure");
        ASSERT_TRUE(enclosure);
        EXPECT_EQ(enclosure->attributes.at("url"), link);
        EXPECT_EQ(enclosure->attributes.at("length"), Number(CellOrder::Size, row.size));
        EXPECT_EQ(enclosure->attributes.at("type"),
                  "application/x-bittorrent;x-scheme-handler/magnet");
        EXPECT_EQ(Text(item, "comments").rfind(served.sites.baseAddress(row.site) + "/", 0), 0u);
        EXPECT_NE(Text(item, "pubDate"), "(none)");
    }
    // The first result of the first page, and one of a later page, in full.
    const XmlElement& begins =
        *items.at("magnet:?xt=urn:btih:070E9BE287AD0AADDB3271009AF21D00BEC4A72C");
    EXPECT_EQ(Text(begins, "pubDate"), "Wed, 03 Jun 2015 00:00:00 +0000");
    EXPECT_EQ(Text(begins, "comments"),
              served.sites.baseAddress("Btrabbit") + "/search/%42%61%74%6D%61%6E/default-1.html");
    const XmlElement& redHood =
        *items.at("magnet:?xt=urn:btih:EB16A76F3E44673830F1B228EC70F43051C31DED");
    EXPECT_EQ(Text(redHood, "comments"),
              served.sites.baseAddress("Btbook") + "/sou/%42%61%74%6D%61%6E/time-2.html");
}

TEST(TorznabBounds, TwentyClientsAtOnceAllGetTheirFeed) {
    ServedFixtures served{LiveSettings{}};
    std::vector<Answer> answers(20);
    std::vector<std::thread> clients;
    for (Answer& answer : answers)
        clients.emplace_back([&] { answer = served.get("/api?q=Batman&" + kKey); });
    for (std::thread& client : clients)
        client.join();
    for (const Answer& answer : answers) {
        ASSERT_EQ(answer.status, 200);
        const std::optional<XmlElement> feed = ParseXml(answer.body);
        ASSERT_TRUE(feed);
        EXPECT_EQ(Items(*feed).size(), 7u);
    }
    // They shared one search: each page was asked for once.
    EXPECT_EQ(served.sites.requestCount("DSS", "/list/%42%61%74%6D%61%6E/1"), 1u);
}

TEST(TorznabBounds, AClientSendingAByteASecondHoldsNobodyElse) {
    ServedFixtures served{LiveSettings{}};
    const int slow = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(served.server->port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(slow, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string request = "GET /api?t=caps&" + kKey + " HTTP/1.1\r\nHost: x\r\n\r\n";
    std::atomic<bool> othersDone{false};
    std::atomic<std::size_t> sent{0};
    std::thread trickle([&] {
        for (std::size_t at = 0; at < request.size() && !othersDone; ++at) {
            if (::send(slow, &request[at], 1, MSG_NOSIGNAL) != 1) break;
            sent = at + 1;
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    for (int client = 0; client < 3; ++client) {
        const Answer answer = served.get("/api?q=Batman&" + kKey);
        EXPECT_EQ(answer.status, 200);
    }
    EXPECT_LT(sent.load(), request.size()) << "the slow request was complete before the others";
    othersDone = true;
    trickle.join();
    ::close(slow);
}

TEST(TorznabBounds, ARequestHeadOver8KiBIsRefused) {
    ServedFixtures served{LiveSettings{}};
    httplib::Client client("127.0.0.1", served.server->port());
    const httplib::Headers big{{"X-Padding", std::string(4000, 'a')},
                               {"X-More-Padding", std::string(4500, 'b')}};
    const httplib::Result result = client.Get(("/api?t=caps&" + kKey).c_str(), big);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 431);
    EXPECT_EQ(served.get("/api?t=caps&" + kKey).status, 200);
}

}  // namespace
}  // namespace sirelo::testing
