// The multi-site search plugin of a widely used BitTorrent client, as it asks
// a server of this kind and reads its answers: it lists the indexers with
// t=indexers, asks each of them at once with q and cat, and reads from every
// item the title, the indexer element, the magneturl attribute (else the link),
// size, the seeders and peers attributes, comments (else guid) and pubDate.

#include <gtest/gtest.h>

#include <ctime>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "torznab_test_support.h"
#include "xml_tree.h"

namespace sirelo::testing {
namespace {

// A query string as Python's urlencode writes it: "+" for a space, %XX for
// every byte but letters, digits and "_.-~".
std::string Urlencode(const std::vector<std::pair<std::string, std::string>>& params) {
    auto quote = [](const std::string& text) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string quoted;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (std::isalnum(byte) || c == '_' || c == '.' || c == '-' || c == '~') {
                quoted += c;
            } else if (c == ' ') {
                quoted += '+';
            } else {
                quoted += '%';
                quoted += kHex[byte >> 4];
                quoted += kHex[byte & 0xF];
            }
        }
        return quoted;
    };
    std::string query;
    for (const auto& [name, value] : params)
        query += (query.empty() ? "" : "&") + quote(name) + "=" + quote(value);
    return query;
}

// One line of the plugin's output, before its printer formats it.
struct PluginResult {
    std::string name;
    std::string link;
    std::string size;  // "N B", or "-1"
    long long seeds = -1;
    long long leech = -1;
    std::string descLink;
    long long pubDate = -1;
};

const std::string* TextOf(const XmlElement* element) {
    return element ? &element->text : nullptr;
}

long long PubDateStamp(const std::string& text) {
    std::tm parts{};
    const char* end = strptime(text.c_str(), "%a, %d %b %Y %H:%M:%S %z", &parts);
    if (!end || *end != '\0') return -1;
    return static_cast<long long>(timegm(&parts)) - parts.tm_gmtoff;
}

class PluginClient {
  public:
    PluginClient(const ServedFixtures& served, std::string key)
        : served_(served), key_(std::move(key)) {}

    std::vector<std::string> indexers() const {
        const Answer answer =
            served_.get("/api/v2.0/indexers/all/results/torznab/api?" +
                        Urlencode({{"apikey", key_}, {"t", "indexers"}, {"configured", "true"}}));
        std::vector<std::string> ids;
        const std::optional<XmlElement> root = ParseXml(answer.body);
        if (answer.status != 200 || !root) return ids;
        for (const XmlElement* indexer : root->findAll("indexer"))
            ids.push_back(indexer->attributes.at("id"));
        return ids;
    }

    // The plugin's search(what, 'movies'): every indexer at once.
    std::vector<PluginResult> search(const std::string& what) const {
        std::vector<PluginResult> results;
        std::mutex mutex;
        std::vector<std::thread> pool;
        for (const std::string& id : indexers()) {
            pool.emplace_back([&, id] {
                std::vector<PluginResult> found = searchIndexer(what, "2000", id);
                std::lock_guard hold(mutex);
                results.insert(results.end(), found.begin(), found.end());
            });
        }
        for (std::thread& thread : pool)
            thread.join();
        return results;
    }

  private:
    std::vector<PluginResult> searchIndexer(const std::string& what, const std::string& category,
                                            const std::string& id) const {
        const Answer answer =
            served_.get("/api/v2.0/indexers/" + id + "/results/torznab/api?" +
                        Urlencode({{"apikey", key_}, {"q", what}, {"cat", category}}));
        std::vector<PluginResult> results;
        const std::optional<XmlElement> root = ParseXml(answer.body);
        EXPECT_EQ(answer.status, 200);
        EXPECT_TRUE(root) << answer.body;
        if (!root || !root->find("channel")) return results;
        for (const XmlElement* item : root->find("channel")->findAll("item")) {
            PluginResult result;
            const std::string* title = TextOf(item->find("title"));
            if (!title) continue;
            const std::string* tracker = TextOf(item->find("jackettindexer"));
            result.name = *title + " [" + (tracker ? *tracker : "") + "]";
            if (const XmlElement* magnet =
                    item->findWith(std::string(kTorznabAttr), "name", "magneturl")) {
                result.link = magnet->attributes.at("value");
            } else if (const std::string* link = TextOf(item->find("link"))) {
                result.link = *link;
            } else {
                continue;
            }
            const std::string* size = TextOf(item->find("size"));
            result.size = size ? *size + " B" : "-1";
            const XmlElement* seeders =
                item->findWith(std::string(kTorznabAttr), "name", "seeders");
            const XmlElement* peers = item->findWith(std::string(kTorznabAttr), "name", "peers");
            if (seeders) result.seeds = std::stoll(seeders->attributes.at("value"));
            if (peers) result.leech = std::stoll(peers->attributes.at("value"));
            if (result.seeds != -1 && result.leech != -1) result.leech -= result.seeds;
            const std::string* comments = TextOf(item->find("comments"));
            const std::string* guid = TextOf(item->find("guid"));
            result.descLink = comments ? *comments : guid ? *guid : "";
            if (const std::string* date = TextOf(item->find("pubDate")))
                result.pubDate = PubDateStamp(*date);
            results.push_back(std::move(result));
        }
        return results;
    }

    const ServedFixtures& served_;
    std::string key_;
};

TEST(PluginClient, ListsTheIndexersAndReadsEveryResult) {
    ServedFixtures served{LiveSettings{}};
    const PluginClient plugin(served, kTestKey);
    EXPECT_EQ(plugin.indexers(), (std::vector<std::string>{"Btrabbit", "DSS", "Btbook"}));

    std::vector<PluginResult> results = plugin.search("The Dark Knight");
    std::sort(results.begin(), results.end(),
              [](const PluginResult& a, const PluginResult& b) { return a.name < b.name; });
    std::vector<std::string> names;
    for (const PluginResult& result : results) {
        SCOPED_TRACE(result.name);
        names.push_back(result.name);
        EXPECT_EQ(result.link.rfind("magnet:?xt=urn:btih:", 0), 0u);
        EXPECT_NE(result.size, "-1");
        EXPECT_GE(result.seeds, 0);
        EXPECT_EQ(result.leech, 0);
        EXPECT_EQ(result.descLink.rfind("http://127.0.0.1:", 0), 0u);
        EXPECT_GT(result.pubDate, 0);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Batman The Dark Knight 2008 IMAX 1080p [Btrabbit]"}));
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results[0].size, "3543348019 B");
    EXPECT_EQ(results[0].seeds, 5012);
    EXPECT_EQ(results[0].pubDate, 1475193600);  // 2016-09-30 00:00:00 UTC
    EXPECT_EQ(results[0].descLink,
              served.sites.baseAddress("Btrabbit") +
                  "/search/%54%68%65%20%44%61%72%6B%20%4B%6E%69%67%68%74/default-1.html");

    PluginClient wrongKey(served, "YOUR_API_KEY_HERE");
    EXPECT_TRUE(wrongKey.indexers().empty());
}

}  // namespace
}  // namespace sirelo::testing
