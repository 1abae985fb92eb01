#include "config/search_history.h"

#include <gtest/gtest.h>

#include "config_test_support.h"

namespace sirelo::testing {
namespace {

using Names = std::vector<std::string>;

// The file is the user's: line ends, blanks, repeats and too much of everything.
TEST(SearchHistoryTest, ReadsWithinBoundsAndKeepsEachNameOnceNewestFirst) {
    ScopedConfigHome home;
    const std::string path = home.folder() + "/history.txt";
    home.writeFile("");
    ReplaceFile(path,
                "英雄\r\n\nbatman\n英雄\n" + std::string(kHistoryNameLimit + 1, 'x') + "\nlast");
    EXPECT_EQ(ReadSearchHistory(path), (Names{"英雄", "batman", "last"}));

    std::string many;
    for (int i = 0; i < 60; ++i)
        many += std::to_string(i) + "\n";
    ReplaceFile(path, many);
    Names history = ReadSearchHistory(path);
    ASSERT_EQ(history.size(), kHistoryLimit);
    EXPECT_EQ(history.back(), "49");

    history = WithSearchName(std::move(history), "7");
    history = WithSearchName(std::move(history), "Batman Begins");
    EXPECT_EQ(history.size(), kHistoryLimit);
    EXPECT_EQ(Names(history.begin(), history.begin() + 3), (Names{"Batman Begins", "7", "0"}));
    EXPECT_EQ(NamesStartingWith(history, "batMAN"), Names{"Batman Begins"});
    EXPECT_TRUE(WriteSearchHistory(path, history));
    EXPECT_EQ(ReadSearchHistory(path), history);
    EXPECT_TRUE(ReadSearchHistory(home.folder() + "/missing.txt").empty());
    // Like the settings file, a read-only history is left alone.
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(WriteSearchHistory(path, {"new"}));
    EXPECT_EQ(ReadSearchHistory(path), history);
}

}  // namespace
}  // namespace sirelo::testing
