#include <gtest/gtest.h>

#include "text/codepage.h"

namespace sirelo {
namespace {

TEST(Codepage, RoundTripsChineseAndAscii) {
    const std::string utf8 = "搜索 Batman 上映时间：2019（全）";
    const std::string gbk = Utf8ToGbk(utf8);
    EXPECT_EQ(gbk.substr(0, 4), "\xCB\xD1\xCB\xF7");
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
    EXPECT_EQ(Gbk("："), "\xA3\xBA");
}

TEST(Codepage, UsesTheWindowsMappingOfCodePage936) {
    EXPECT_EQ(Utf8ToGbk("€"), "\x80");
    EXPECT_EQ(GbkToUtf8("\x80"), "€");
    EXPECT_EQ(Utf8ToGbk("\xE3\x80\x80"), "\xA1\xA1");  // the full-width space
}

TEST(Codepage, ACharacterGbkLacksBecomesOneQuestionMark) {
    // Korean, an emoji (a surrogate pair in UTF-16) and a combining mark.
    EXPECT_EQ(Utf8ToGbk("a한b😀c"), "a?b?c");
    EXPECT_EQ(FromUtf16(u"x😀y", CodePage::Gbk), "x?y");
}

TEST(Codepage, InvalidUtf8GivesOneQuestionMarkPerBadByteAndGoesOn) {
    EXPECT_EQ(Utf8ToGbk("a\xFF\xFE"
                        "b"),
              "a??b");
    EXPECT_EQ(Utf8ToGbk("a\xE6\x90"
                        "b"),
              "a??b");  // truncated sequence
    EXPECT_EQ(Utf8ToGbk("\xC0\xAF"
                        "x"),
              "??x");  // overlong
    EXPECT_EQ(Utf8ToGbk("\xED\xA0\x80"
                        "x"),
              "???x");                                          // an encoded surrogate
    EXPECT_EQ(Utf8ToGbk("\xE6\x90\x9C\xE6"), Gbk("搜") + "?");  // cut at the end
}

TEST(Codepage, InvalidGbkBecomesReplacementCharactersAndAsciiSurvives) {
    EXPECT_EQ(GbkToUtf8("a\x81"), "a\xEF\xBF\xBD");  // lead byte at the end
    EXPECT_EQ(GbkToUtf8("\x81\x30z"),
              "\xEF\xBF\xBD"
              "0z");  // bad trail byte
    EXPECT_EQ(GbkToUtf8("\xFF"), "\xEF\xBF\xBD");
}

TEST(Codepage, Utf16BothWays) {
    EXPECT_EQ(ToUtf16(Gbk("中a"), CodePage::Gbk), u"中a");
    EXPECT_EQ(ToUtf16("中😀", CodePage::Utf8), u"中😀");
    EXPECT_EQ(FromUtf16(u"中😀", CodePage::Utf8), "中😀");
    EXPECT_EQ(FromUtf16(std::u16string(1, u'\xD800'), CodePage::Utf8), "\xEF\xBF\xBD");
    EXPECT_EQ(FromUtf16(u"中a", CodePage::Gbk), Gbk("中a"));
}

TEST(Codepage, PageTextStopsAtTheFirstZeroByte) {
    const std::string bytes("上映\0hidden", 13);
    EXPECT_EQ(PageText(bytes), Gbk("上映"));
}

}  // namespace
}  // namespace sirelo
