#include <gtest/gtest.h>

#include <fstream>

#include "config/config_test_support.h"
#include "config/feed_settings.h"
#include "sitedefs/definition_layers.h"
#include "sitedefs/feed_update.h"
#include "sitedefs/program_definitions.h"
#include "support/feed_site.h"
#include "support/minisign_signer.h"

namespace sirelo {
namespace {

std::string Feed(const std::string& version, const std::string& dssBase,
                 const std::string& more = "") {
    return "[feed]\nversion = \"" + version + "\"\n" + more + "\n[magnet.DSS]\nbase = \"" +
           dssBase + "\"\npage = \"/feed/{keyword}/{page}\"\n";
}

class FeedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_ = {site_.address(), signer_.publicKey()};
        ASSERT_TRUE(WriteFeedSettings(TheAppConfig(), settings_));
        paths_ = FeedCacheIn(TheAppConfig());
    }
    void serveSigned(const std::string& file) { site_.serve(file, signer_.sign(file)); }
    FeedUpdate update() { return UpdateFeed(paths_, settings_, 1'800'000'000); }
    std::string dssBaseInForce() {
        return LoadDefinitionLayers(TheAppConfig()).definitions.magnet[kDss].base;
    }

    testing::ScopedConfigHome home_;
    testing::MinisignSigner signer_;
    testing::FeedSite site_;
    FeedSettings settings_;
    FeedCachePaths paths_;
};

TEST_F(FeedTest, AnUnchangedFeedCostsA304) {
    serveSigned(Feed("2026.12.08", "http://127.0.0.1:9"));
    const FeedUpdate first = update();
    EXPECT_EQ(first.word, "updated");
    EXPECT_EQ(first.version, "2026.12.08");
    EXPECT_EQ(site_.server().RequestCount(), 2u);
    EXPECT_EQ(dssBaseInForce(), "http://127.0.0.1:9");

    site_.server().ClearRequests();
    const FeedUpdate second = update();
    EXPECT_EQ(second.word, "unchanged");
    const auto requests = site_.server().Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Header("If-None-Match"), site_.etag());
    EXPECT_EQ(ReadFeedState(paths_)->result, "unchanged");
    EXPECT_EQ(dssBaseInForce(), "http://127.0.0.1:9");
}

TEST_F(FeedTest, AFeedThatIsNotRightLeavesTheLastGoodCopyInForce) {
    serveSigned(Feed("2026.12.01", "http://127.0.0.1:9"));
    ASSERT_EQ(update().word, "updated");
    const testing::MinisignSigner other;
    const std::string next = Feed("2026.12.08", "http://127.0.0.1:10");
    struct Case {
        const char* what;
        std::string file, signature;
        std::string word;
        std::string detail;  // found in the first detail line
    };
    const Case cases[] = {
        {"changed after signing", next + "#", signer_.sign(next), "bad-signature",
         "does not match"},
        {"another key", next, other.sign(next), "bad-signature", "another key"},
        {"a problem", next + "[magnet.DSS.name]\nstart = \"\"\n", "", "refused",
         "magnet.DSS.name.start"},
        {"a newer program",
         Feed("2026.12.08", "http://127.0.0.1:10", "minimum_program = \"99.0.0\""), "", "refused",
         "wants Sirelo 99.0.0 or newer"},
        {"larger than 1 MiB", next + "#" + std::string(1 << 20, 'x') + "\n", "", "refused",
         "larger than 1 MiB"},
    };
    for (const Case& c : cases) {
        site_.serve(c.file, c.signature.empty() ? signer_.sign(c.file) : c.signature);
        const FeedUpdate result = update();
        EXPECT_EQ(result.word, c.word) << c.what;
        ASSERT_FALSE(result.details.empty()) << c.what;
        EXPECT_NE(result.details[0].find(c.detail), std::string::npos)
            << c.what << ": " << result.details[0];
        EXPECT_EQ(result.version, "2026.12.01") << c.what;
        EXPECT_EQ(dssBaseInForce(), "http://127.0.0.1:9") << c.what;
    }
    settings_.address = "http://127.0.0.1:1/sites.toml";
    EXPECT_EQ(update().word, "unreachable");
}

TEST_F(FeedTest, ACopyChangedOnDiskOrFromAnotherAddressIsNotUsed) {
    serveSigned(Feed("2026.12.08", "http://127.0.0.1:9"));
    ASSERT_EQ(update().word, "updated");
    std::ofstream(paths_.file, std::ios::app) << "\n# changed\n";
    const DefinitionLayers changed = LoadDefinitionLayers(TheAppConfig());
    EXPECT_EQ(changed.definitions, BuiltInSiteDefinitions());
    EXPECT_NE(changed.cachedFeed.whyNotInForce.find("does not match"), std::string::npos);

    ASSERT_EQ(update().word, "updated");  // nothing to compare with: fetched whole again
    ASSERT_TRUE(
        WriteFeedSettings(TheAppConfig(), {site_.address() + "?other", signer_.publicKey()}));
    EXPECT_EQ(LoadDefinitionLayers(TheAppConfig()).definitions, BuiltInSiteDefinitions());
}

TEST_F(FeedTest, TheUsersFileWinsOverTheFeedKeyByKey) {
    serveSigned(Feed("2026.12.08", "http://127.0.0.1:9"));
    ASSERT_EQ(update().word, "updated");
    std::ofstream(UserDefinitionsPath(TheAppConfig()))
        << "[magnet.DSS]\nbase = \"http://127.0.0.1:11\"\n";
    const DefinitionLayers layers = LoadDefinitionLayers(TheAppConfig());
    EXPECT_EQ(layers.definitions.magnet[kDss].base, "http://127.0.0.1:11");
    EXPECT_EQ(layers.definitions.magnet[kDss].pagePath, "/feed/{keyword}/{page}");
    EXPECT_EQ(FeedVersionInForce(layers), "2026.12.08");

    ASSERT_TRUE(RemoveFeedSettings(TheAppConfig()));
    EXPECT_EQ(LoadDefinitionLayers(TheAppConfig()).definitions.magnet[kDss].pagePath,
              BuiltInSiteDefinitions().magnet[kDss].pagePath);
}

}  // namespace
}  // namespace sirelo
