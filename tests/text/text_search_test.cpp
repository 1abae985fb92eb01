#include <gtest/gtest.h>

#include <limits>

#include "text/codepage.h"
#include "text/text.h"

namespace sirelo {
namespace {

TEST(FindText, TriesMatchesOnlyAtCharacterStarts) {
    // 0x40 is the second byte of the character 81 40, so no match is tried there.
    EXPECT_EQ(FindText("\x81\x40", "@"), -1);
    EXPECT_EQ(FindText("\x81\x40@", "@"), 3);
    EXPECT_EQ(FindText("a\x81\x40", "\x40"), -1);
    // A trail byte in the ASCII range is skipped even when it would start a longer match.
    EXPECT_EQ(FindText("\xB0\x61"
                       "bc",
                       "abc"),
              -1);
    EXPECT_EQ(FindText(Gbk("中文abc"), "abc"), 5);
}

TEST(FindText, LeadByteAsLastByteEndsTheScan) {
    EXPECT_EQ(FindText("ab\x81", "\x81"), 3);  // compared before the scan stops
    EXPECT_EQ(FindText("a\x81", "b"), -1);
}

TEST(FindText, StartPositionCountsFromTheStartByte) {
    EXPECT_EQ(FindText("abcabc", "abc", 2), 4);
    EXPECT_EQ(FindText("abcabc", "abc", 0), 1);
    EXPECT_EQ(FindText("abcabc", "abc", -5), 1);
    EXPECT_EQ(FindText("abc", "c", 4), -1);
    // The walk starts at the start byte as if it began a character.
    EXPECT_EQ(FindText("\x81\x40", "@", 2), 2);
}

TEST(FindText, EmptyWhatGivesOneWhileTheStartLiesInsideTheText) {
    EXPECT_EQ(FindText("abc", ""), 1);
    EXPECT_EQ(FindText("abc", "", 3), 1);
    EXPECT_EQ(FindText("abc", "", 4), -1);
    EXPECT_EQ(FindText("", ""), -1);
}

TEST(FindText, IgnoringCaseFoldsOnlyAsciiLetters) {
    EXPECT_EQ(FindText("xHeLLo", "hello", 1, true), 2);
    EXPECT_EQ(FindText("xHeLLo", "hello", 1, false), -1);
    // The trail byte 0x41 ('A') of B0 41 is not a letter to fold.
    EXPECT_EQ(FindText("\xB0\x41"
                       "a",
                       "a", 1, true),
              3);
    // Full-width letters are not folded: A3 C1 is "Ａ", A3 E1 is "ａ".
    EXPECT_EQ(FindText("\xA3\xC1", "\xA3\xE1", 1, true), -1);
}

TEST(FindTextBackward, FindsTheLastWholeMatchBeforeTheStart) {
    EXPECT_EQ(FindTextBackward("abcabc", "abc"), 4);
    EXPECT_EQ(FindTextBackward("abcabc", "abc", 7), 4);
    EXPECT_EQ(FindTextBackward("abcabc", "abc", 6), 1);  // the second lies partly after
    EXPECT_EQ(FindTextBackward("abcabc", "abc", 0), -1);
    EXPECT_EQ(FindTextBackward("abcabc", "abc", std::numeric_limits<int>::min()), -1);
    EXPECT_EQ(FindTextBackward("aaaa", "aa"), 3);  // overlapping matches are all noted
    EXPECT_EQ(FindTextBackward("x\x81\x40", "@"), -1);
    EXPECT_EQ(FindTextBackward("abc", ""), 1);
    EXPECT_EQ(FindTextBackward("abc", "", 1), -1);
}

TEST(ReplaceText, CountStartAndCase) {
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 1, {}, true), "a+b+c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 1, 1, true), "a+b-c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 3, {}, true), "a-b+c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 1, 0, true), "a-b-c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 6, {}, true), "a-b-c");
    EXPECT_EQ(ReplaceText("<B>x</b>", "<b>", "", 1, {}, false), "x</b>");
    EXPECT_EQ(ReplaceText("<B>x</b>", "<b>", "", 1, {}, true), "<B>x</b>");
    EXPECT_EQ(ReplaceText("", "a", "b", 1, {}, true), "");
    EXPECT_EQ(ReplaceText("abc", "", "b", 1, {}, true), "abc");
}

TEST(ReplaceText, OccurrencesNeverOverlapAndTheReplacementIsNotSearchedAgain) {
    EXPECT_EQ(ReplaceText("aaa", "aa", "b", 1, {}, true), "ba");
    EXPECT_EQ(ReplaceText("ab", "a", "aa", 1, {}, true), "aab");
    EXPECT_EQ(ReplaceText("\x81\x40@", "@", "#", 1, {}, true), "\x81\x40#");
}

TEST(TrimSpaces, AsciiAndFullWidthSpacesOnly) {
    const std::string full = "\xA1\xA1";
    const std::string text = " " + full + "a b\t" + full + " ";
    EXPECT_EQ(TrimSpaces(text, TrimMode::Leading), "a b\t" + full + " ");
    EXPECT_EQ(TrimSpaces(text, TrimMode::Trailing), " " + full + "a b\t");
    EXPECT_EQ(TrimSpaces(text, TrimMode::BothEnds), "a b\t");
    EXPECT_EQ(TrimSpaces(text, TrimMode::All), "ab\t");
    EXPECT_EQ(TrimSpaces("   ", TrimMode::Trailing), "");
    EXPECT_EQ(TrimSpaces("\n a \r", TrimMode::BothEnds), "\n a \r");
    // A1 A1 counts as a space only when it forms one character.
    EXPECT_EQ(TrimSpaces("\xB0\xA1\xA1\xA1", TrimMode::Trailing), "\xB0\xA1");
    EXPECT_EQ(TrimSpaces("\xB0\xA1\xA1", TrimMode::Trailing), "\xB0\xA1\xA1");
    EXPECT_EQ(TrimSpaces("\xA1\xA1\xA1", TrimMode::Leading), "\xA1");
    // The byte after a lead byte belongs to it, even a space.
    EXPECT_EQ(TrimSpaces("\xB0 ", TrimMode::Trailing), "\xB0 ");
}

TEST(ToLowerAscii, NeverChangesTrailBytes) {
    EXPECT_EQ(ToLowerAscii("ABC\xB0\x41Z"), "abc\xB0\x41z");
}

TEST(SplitText, EmptyPiecesAndMaximum) {
    EXPECT_EQ(SplitText("a;;b", ";"), (TextList{"a", "", "b"}));
    EXPECT_EQ(SplitText("a;b;", ";"), (TextList{"a", "b"}));
    EXPECT_EQ(SplitText(";a", ";"), (TextList{"", "a"}));
    EXPECT_EQ(SplitText("a;b;c", ";", 2), (TextList{"a", "b"}));
    EXPECT_EQ(SplitText("a,b"), (TextList{"a", "b"}));
    EXPECT_TRUE(SplitText("", ";").empty());
    EXPECT_TRUE(SplitText("a;b", ";", 0).empty());
    EXPECT_EQ(SplitText("a;b", ""), (TextList{"a;b"}));
    EXPECT_EQ(SplitText("a\r\nb\r\n", "\r\n"), (TextList{"a", "b"}));
    // A separator byte inside a two-byte character does not split it.
    EXPECT_EQ(SplitText("\x81;x;y", ";"), (TextList{"\x81;x", "y"}));
}

}  // namespace
}  // namespace sirelo
