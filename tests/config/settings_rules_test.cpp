#include "config/settings_rules.h"

#include <gtest/gtest.h>

#include <climits>

#include "config/profile_text.h"
#include "config_test_support.h"

namespace sirelo {
namespace {

using testing::FakeControls;
using testing::Gbk;
using testing::ScopedConfigHome;

TEST(TextToInteger, ReadsAsAtoiDoes) {
    EXPECT_EQ(textToInteger("12"), 12);
    EXPECT_EQ(textToInteger(" \t\r\n-7x3"), -7);
    EXPECT_EQ(textToInteger("+5"), 5);
    EXPECT_EQ(textToInteger("007"), 7);
    EXPECT_EQ(textToInteger(""), 0);
    EXPECT_EQ(textToInteger("-"), 0);
    EXPECT_EQ(textToInteger("abc"), 0);
    EXPECT_EQ(textToInteger("- 5"), 0);
    EXPECT_EQ(textToInteger("1 2"), 1);
}

TEST(TextToInteger, FoldsFullWidthAscii) {
    EXPECT_EQ(textToInteger(Gbk("１５")), 15);
    EXPECT_EQ(textToInteger(Gbk("－３")), -3);
    EXPECT_EQ(textToInteger(Gbk("＋2１")), 21);
    EXPECT_EQ(textToInteger(Gbk("　 15")), 15) << "the full-width space is a blank";
    EXPECT_EQ(textToInteger(Gbk("中1")), 0) << "other characters stop the reading";
    EXPECT_EQ(textToInteger("\xA3"), 0) << "a lone lead byte";
}

TEST(TextToInteger, ClampsBeyondThirtyTwoBits) {
    EXPECT_EQ(textToInteger("2147483647"), INT_MAX);
    EXPECT_EQ(textToInteger("2147483648"), INT_MAX);
    EXPECT_EQ(textToInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(textToInteger("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(textToInteger(std::string(10239, '9')), INT_MAX);
}

class NumberRule : public ::testing::Test {
  protected:
    void SetUp() override { config_.ensureConfigFolder(); }
    std::string type(NumberBox box, const std::string& text) {
        controls_.setNumberText(box, text);
        return controls_.numberText(box);
    }
    std::string written(const char* key) const {
        return ReadProfileValue(home_.fileBytes().value_or(""), Gbk("软件设置"), Gbk(key));
    }

    ScopedConfigHome home_;
    AppConfig config_;
    LiveSettings live_;
    FakeControls controls_{config_, live_};
};

TEST_F(NumberRule, KeepsTheUsersFormAndWritesPlainDecimal) {
    EXPECT_EQ(type(NumberBox::ThreadCount, "007"), "007");
    EXPECT_EQ(written("线程数量"), "7");
    EXPECT_EQ(live_.threadCount, 7);
    EXPECT_EQ(type(NumberBox::PageCount, Gbk("１５")), Gbk("１５"));
    EXPECT_EQ(written("搜索页数"), "15");
    EXPECT_EQ(live_.pageCount, 15);
}

TEST_F(NumberRule, ClampsIntoRangeAndRunsAgainForTheNewText) {
    EXPECT_EQ(type(NumberBox::ThreadCount, "25"), "20");
    EXPECT_EQ(written("线程数量"), "20");
    EXPECT_EQ(live_.threadCount, 20);
    ASSERT_EQ(controls_.calls.size(), 2u);
    EXPECT_EQ(controls_.calls[1].value, "20") << "the inner run replaced the text";

    EXPECT_EQ(type(NumberBox::Interval, "8"), "100");
    EXPECT_EQ(written("间隔时间"), "100");
    EXPECT_EQ(live_.intervalMs, 100);
    EXPECT_EQ(type(NumberBox::PageCount, "abc"), "1");
    EXPECT_EQ(type(NumberBox::PageCount, "9999999999999"), "100");
}

}  // namespace
}  // namespace sirelo
