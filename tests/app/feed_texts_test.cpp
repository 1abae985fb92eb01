#include "app/feed_texts.h"

#include <gtest/gtest.h>

#include <ctime>

#include "text/codepage.h"

namespace sirelo {
namespace {

TEST(FeedStateLine, SaysWhatIsInForceAndWhyTheLastCheckTookNothing) {
    std::tm nine{};
    nine.tm_year = 126, nine.tm_mon = 11, nine.tm_mday = 9, nine.tm_hour = 9, nine.tm_min = 12;
    nine.tm_isdst = -1;
    const std::int64_t at = std::mktime(&nine), later = at + 3600, nextDay = at + 86400;
    const auto state = [&](const char* result, const char* version, const char* details = "") {
        return FeedState{"http://127.0.0.1/f", "", "", at, result, details, version};
    };
    struct Case {
        FeedLineFacts facts;
        std::int64_t now;
        const char* line;
    };
    const Case cases[] = {
        {{true, "2026.12.08", state("unchanged", "2026.12.08"), false},
         later,
         "站点定义：订阅版本 2026.12.08，今天 09:12 已检查"},
        {{true, "2026.12.08", state("updated", "2026.12.08"), false},
         nextDay,
         "站点定义：订阅版本 2026.12.08，12月9日 09:12 已检查"},
        {{true, "2026.12.01", state("updated", "2026.12.08"), true},
         later,
         "站点定义：订阅版本 2026.12.08 已于今天 09:12 下载，下次启动时生效"},
        {{true, "2026.12.01", state("bad-signature", "2026.12.01"), false},
         later,
         "站点定义订阅：签名不符，未采用，仍用 2026.12.01"},
        {{false, "", state("unreachable", "", "timeout: Connection timed out"), false},
         later,
         "站点定义订阅：无法连接（超时），仍用内置定义"},
        {{true, "2026.12.01", state("unreachable", "2026.12.01", "signature: http 404"), true},
         later,
         "站点定义订阅：无法连接（HTTP 404），仍用 2026.12.01"},
        {{true, "2026.12.01",
          state("refused", "2026.12.01", "f: feed.minimum_program: wants Sirelo 9.0.0"), true},
         later,
         "站点定义订阅：需要更新的 Sirelo，未采用，仍用 2026.12.01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GbkToUtf8(FeedStateLine(c.facts, c.now)), c.line);
}

}  // namespace
}  // namespace sirelo
