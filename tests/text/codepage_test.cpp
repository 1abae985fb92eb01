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

// glibc leaves out what Windows maps to the Private Use Area: the user-defined
// areas (1,894 pairs), the 255 codes GBK leaves unassigned, and the byte 0xFF.
TEST(Codepage, MapsTheUserDefinedAreasAsWindowsDoes) {
    int pairs = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string code = ToUtf16(bytes, CodePage::Gbk);
            if (code.size() == 1 && code[0] >= 0xE000 && code[0] <= 0xF8FF) {
                ++pairs;
                EXPECT_EQ(FromUtf16(code, CodePage::Gbk), bytes);
            }
        }
    }
    EXPECT_EQ(pairs, 1894 + 255);
    int codes = 0;
    for (char16_t code = 0xE000; code <= 0xF8FF; ++code) {
        codes += FromUtf16(std::u16string(1, code), CodePage::Gbk) != "?";
    }
    EXPECT_EQ(codes, 1894 + 255 + 1);

    const struct {
        std::string gbk;
        char16_t code;
    } samples[] = {
        {"\xAA\xA1", 0xE000}, {"\xAF\xFE", 0xE233}, {"\xF8\xA1", 0xE234}, {"\xFE\xFE", 0xE4C5},
        {"\xA1\x40", 0xE4C6}, {"\xA1\x7E", 0xE504}, {"\xA1\x80", 0xE505}, {"\xA1\xA0", 0xE525},
        {"\xA7\xA0", 0xE765}, {"\xA2\xAB", 0xE766}, {"\xA6\xD9", 0xE78D}, {"\xA8\xBC", 0xE7C7},
        {"\xFE\x50", 0xE815}, {"\xFE\xA0", 0xE864}, {"\xFF", 0xF8F5},     {"\x80", 0x20AC},
    };
    for (const auto& sample : samples) {
        EXPECT_EQ(ToUtf16(sample.gbk, CodePage::Gbk), std::u16string(1, sample.code));
        EXPECT_EQ(FromUtf16(std::u16string(1, sample.code), CodePage::Gbk), sample.gbk);
    }
    const std::string mixed =
        "a\xFF\xAA\xA1"
        "b";
    EXPECT_EQ(Utf8ToGbk(GbkToUtf8(mixed)), mixed);
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
              "0z");                                       // bad trail byte
    EXPECT_EQ(GbkToUtf8("\xA1\x7F"), "\xEF\xBF\xBD\x7F");  // 0x7F is no trail byte
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
