// Every kind of request a client may send, one table: the key, the function,
// the categories, paging and the query, each with the answer it must get.

#include <gtest/gtest.h>

#include <string>

#include "torznab_test_support.h"
#include "xml_tree.h"

namespace sirelo::testing {
namespace {

constexpr const char* kAll = "/api/v2.0/indexers/all/results/torznab/api";
const std::string kKey = std::string("apikey=") + kTestKey;

struct RequestCase {
    const char* name;
    std::string target;
    int status;
    const char* root;  // the document's root element
    int error = 0;     // the Torznab error code, when the root is "error"
    int items = -1;    // feed items, or indexers in an indexer list; -1: not counted
};

void PrintTo(const RequestCase& request, std::ostream* out) {
    *out << request.name;
}

// 200 Chinese characters, the longest query there is, and one more.
std::string LongQuery(int characters) {
    std::string query;
    for (int i = 0; i < characters; ++i)
        query += "%E8%8B%B1";
    return query;
}

// With the window's default sites (Btrabbit, DSS, Btbook) and filters, "Batman"
// gives 7 rows over 5 pages: 3 + 2 + 2, the link Btrabbit and Btbook share once.
const RequestCase kCases[] = {
    {"no key", "/api?t=caps", 401, "error", 100},
    {"wrong key", "/api?t=caps&apikey=0123456789abcdef0123456789abcdeX", 401, "error", 100},
    {"key cut short", "/api?t=caps&apikey=0123456789abcdef0123456789abcde", 401, "error", 100},
    {"key on a search", std::string(kAll) + "?q=Batman&apikey=", 401, "error", 100},
    {"caps", "/api?t=caps&" + kKey, 200, "caps"},
    {"caps of one indexer", "/api/v2.0/indexers/DSS/results/torznab/api?t=caps&" + kKey, 200,
     "caps"},
    {"indexers", std::string(kAll) + "?t=indexers&configured=true&" + kKey, 200, "indexers", 0, 3},
    {"indexers of /api", "/api?t=indexers&" + kKey, 200, "indexers", 0, 3},
    {"indexers of one indexer", "/api/v2.0/indexers/DSS/results/torznab/api?t=indexers&" + kKey,
     400, "error", 202},
    {"unknown function", "/api?t=tvsearch&q=Batman&" + kKey, 400, "error", 202},
    {"unknown indexer", "/api/v2.0/indexers/nosuch/results/torznab/api?q=Batman&" + kKey, 404,
     "error", 201},
    {"disabled site", "/api/v2.0/indexers/ZZS/results/torznab/api?q=Batman&" + kKey, 404, "error",
     201},
    {"empty search", "/api?t=search&q=&" + kKey, 200, "rss", 0, 0},
    {"search without q", "/api?t=search&" + kKey, 200, "rss", 0, 0},
    {"search", "/api?t=search&q=Batman&" + kKey, 200, "rss", 0, 7},
    {"movie search", "/api?t=movie&q=Batman&" + kKey, 200, "rss", 0, 7},
    {"q without t", std::string(kAll) + "?q=Batman&" + kKey, 200, "rss", 0, 7},
    {"one indexer", "/api/v2.0/indexers/DSS/results/torznab/api?q=Batman&" + kKey, 200, "rss", 0,
     2},
    {"movies", "/api?q=Batman&cat=2000&" + kKey, 200, "rss", 0, 7},
    {"a movie sub-category", "/api?q=Batman&cat=2045&" + kKey, 200, "rss", 0, 7},
    {"TV", "/api?q=Batman&cat=5000&" + kKey, 200, "rss", 0, 7},
    {"audio and TV anime", "/api?q=Batman&cat=3000,5070&" + kKey, 200, "rss", 0, 7},
    {"audio only", "/api?q=Batman&cat=3000&" + kKey, 200, "rss", 0, 0},
    {"books and games", "/api?q=Batman&cat=8000,1000&" + kKey, 200, "rss", 0, 0},
    {"no number", "/api?q=Batman&cat=movies&" + kKey, 200, "rss", 0, 0},
    {"limit", "/api?q=Batman&limit=2&" + kKey, 200, "rss", 0, 2},
    {"offset", "/api?q=Batman&offset=5&" + kKey, 200, "rss", 0, 2},
    {"offset past the end", "/api?q=Batman&offset=70&limit=10&" + kKey, 200, "rss", 0, 0},
    {"limit 0", "/api?q=Batman&limit=0&" + kKey, 200, "rss", 0, 0},
    {"limit above the most", "/api?q=Batman&limit=5000&" + kKey, 200, "rss", 0, 7},
    {"negative limit", "/api?q=Batman&limit=-1&" + kKey, 400, "error", 201},
    {"limit no number", "/api?q=Batman&limit=ten&" + kKey, 400, "error", 201},
    {"offset no number", "/api?q=Batman&offset=1e3&" + kKey, 400, "error", 201},
    {"longest query", "/api?q=" + LongQuery(200) + "&" + kKey, 200, "rss", 0, 0},
    {"query too long", "/api?q=" + LongQuery(201) + "&" + kKey, 400, "error", 201},
    {"query not UTF-8", "/api?q=%FF%FE&" + kKey, 400, "error", 201},
};

class TorznabRequestTest : public ::testing::TestWithParam<RequestCase> {
  protected:
    static void SetUpTestSuite() { served = new ServedFixtures(LiveSettings{}); }
    static void TearDownTestSuite() {
        delete served;
        served = nullptr;
    }
    static ServedFixtures* served;
};
ServedFixtures* TorznabRequestTest::served = nullptr;

TEST_P(TorznabRequestTest, GetsItsAnswer) {
    const RequestCase& request = GetParam();
    const Answer answer = served->get(request.target);
    EXPECT_EQ(answer.status, request.status);
    const std::optional<XmlElement> document = ParseXml(answer.body);
    ASSERT_TRUE(document) << "not well-formed: " << answer.body;
    EXPECT_EQ(document->name, request.root);
    if (request.error != 0) {
        EXPECT_EQ(document->attributes.at("code"), std::to_string(request.error));
    }
    if (request.items < 0) return;
    if (document->name == "indexers") {
        EXPECT_EQ(document->findAll("indexer").size(), static_cast<std::size_t>(request.items));
        return;
    }
    const XmlElement* channel = document->find("channel");
    ASSERT_TRUE(channel);
    EXPECT_EQ(channel->findAll("item").size(), static_cast<std::size_t>(request.items));
}

INSTANTIATE_TEST_SUITE_P(Requests, TorznabRequestTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RequestCase>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(TorznabDocuments, CapsPromiseTheLimitsAndTheFilmCategories) {
    ServedFixtures served{LiveSettings{}};
    const std::optional<XmlElement> caps = ParseXml(served.get("/api?t=caps&" + kKey).body);
    ASSERT_TRUE(caps);
    const XmlElement* limits = caps->find("limits");
    ASSERT_TRUE(limits);
    EXPECT_EQ(limits->attributes.at("max"), "1000");
    EXPECT_EQ(limits->attributes.at("default"), "100");
    const XmlElement* searching = caps->find("searching");
    ASSERT_TRUE(searching);
    for (const char* function : {"search", "movie-search"}) {
        ASSERT_TRUE(searching->find(function)) << function;
        EXPECT_EQ(searching->find(function)->attributes.at("available"), "yes");
        EXPECT_EQ(searching->find(function)->attributes.at("supportedParams"), "q");
    }
    const XmlElement* categories = caps->find("categories");
    ASSERT_TRUE(categories);
    const XmlElement* movies = categories->findWith("category", "id", "2000");
    ASSERT_TRUE(movies);
    for (const char* sub : {"2030", "2040", "2045"})
        EXPECT_TRUE(movies->findWith("subcat", "id", sub)) << sub;
    EXPECT_TRUE(categories->findWith("category", "id", "5000"));

    const std::optional<XmlElement> indexers =
        ParseXml(served.get(std::string(kAll) + "?t=indexers&" + kKey).body);
    ASSERT_TRUE(indexers);
    std::vector<std::string> ids;
    for (const XmlElement* indexer : indexers->findAll("indexer")) {
        ids.push_back(indexer->attributes.at("id"));
        EXPECT_EQ(indexer->attributes.at("configured"), "true");
        ASSERT_TRUE(indexer->find("title"));
        EXPECT_EQ(indexer->find("title")->text, ids.back());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"Btrabbit", "DSS", "Btbook"}));
}

}  // namespace
}  // namespace sirelo::testing
