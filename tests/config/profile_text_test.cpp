#include "config/profile_text.h"

#include <gtest/gtest.h>

#include <string>

namespace sirelo {
namespace {

const std::string kSample =
    "; a comment\r\n"
    "orphan=before any section\r\n"
    "[Main]\r\n"
    "  Count =  7  \r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Half=\"x\r\n"
    "Both=\"x'\r\n"
    "Twice=\"\"x\"\"\r\n"
    "Empty=\r\n"
    "Bare\r\n"
    "Count=8\r\n"
    "[Other]\n"
    "Count=9\n"
    "[Main]\r"
    "Late=1\r";

TEST(ReadProfileValue, StripsBlanksAndOnePairOfQuotes) {
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Count"), "7");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Quoted"), "  spaced  ");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Single"), "x");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Half"), "\"x");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Both"), "\"x'");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Twice"), "\"x\"");
}

TEST(ReadProfileValue, MissingOrEmptyGivesEmptyText) {
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Empty"), "");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Bare"), "");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Nothing"), "");
    EXPECT_EQ(ReadProfileValue(kSample, "Missing", "Count"), "");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "orphan"), "");
    EXPECT_EQ(ReadProfileValue("", "Main", "Count"), "");
}

TEST(ReadProfileValue, FirstSectionAndFirstKeyWinWhateverTheLineEnds) {
    EXPECT_EQ(ReadProfileValue(kSample, "Other", "Count"), "9");
    EXPECT_EQ(ReadProfileValue(kSample, "Main", "Late"), "");
}

TEST(ReadProfileValue, NamesIgnoreAsciiCaseButNotGbkTrailBytes) {
    EXPECT_EQ(ReadProfileValue(kSample, "MAIN", "count"), "7");
    // 0x81 0x41 and 0x81 0x61 are two different GBK characters.
    const std::string file = "[\x81\x41]\r\nk=upper\r\n[\x81\x61]\r\nk=lower\r\n";
    EXPECT_EQ(ReadProfileValue(file, "\x81\x61", "k"), "lower");
    EXPECT_EQ(ReadProfileValue(file, "\x81\x41", "K"), "upper");
}

TEST(ReadProfileValue, CutsLongValuesToTheBuffer) {
    const std::string value(20000, 'v');
    const std::string file = "[S]\r\nk=" + value + "\r\n";
    EXPECT_EQ(ReadProfileValue(file, "S", "k"), std::string(kProfileValueBuffer - 1, 'v'));
}

// A byte-order mark must not hide the first section, and a write keeps it.
TEST(ReadProfileValue, SkipsAByteOrderMark) {
    const std::string file = "\xEF\xBB\xBF[Main]\r\nCount=7\r\n";
    EXPECT_EQ(ReadProfileValue(file, "Main", "Count"), "7");
    EXPECT_EQ(WithProfileValue(file, "Main", "Count", "8"), "\xEF\xBB\xBF[Main]\r\nCount=8\r\n");
    EXPECT_EQ(WithProfileValue("\xEF\xBB\xBF", "S", "k", "v"), "\xEF\xBB\xBF[S]\r\nk=v\r\n");
}

TEST(WithProfileValue, CreatesSectionAndKey) {
    EXPECT_EQ(WithProfileValue("", "S", "k", "v"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(WithProfileValue("[A]\r\nx=1", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
    EXPECT_EQ(WithProfileValue("[A]", "A", "k", "v"), "[A]\r\nk=v\r\n");
}

TEST(WithProfileValue, ReplacesOnlyTheKeyLine) {
    const std::string file = "; keep\n[A]\n  X = 1 ; old\n\n[B]\ny=2";
    EXPECT_EQ(WithProfileValue(file, "a", "x", "5"), "; keep\n[A]\nx=5\n\n[B]\ny=2");
    EXPECT_EQ(WithProfileValue(file, "B", "y", ""), "; keep\n[A]\n  X = 1 ; old\n\n[B]\ny=");
}

TEST(WithProfileValue, AppendsAKeyAfterTheLastLineOfItsSection) {
    const std::string file = "[A]\r\nx=1\r\n# note\r\n\r\n\r\n[B]\r\ny=2\r\n";
    EXPECT_EQ(WithProfileValue(file, "A", "z", "3"),
              "[A]\r\nx=1\r\n# note\r\nz=3\r\n\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(WithProfileValue(file, "B", "z", "3"), file + "z=3\r\n");
}

TEST(WithProfileValue, WhatItWritesReadsBack) {
    std::string file;
    file = WithProfileValue(file, "S", "a", "1");
    file = WithProfileValue(file, "T", "a", "2");
    file = WithProfileValue(file, "S", "b", "3");
    file = WithProfileValue(file, "S", "A", "4");
    EXPECT_EQ(file, "[S]\r\nA=4\r\nb=3\r\n[T]\r\na=2\r\n");
    EXPECT_EQ(ReadProfileValue(file, "s", "a"), "4");
    EXPECT_EQ(ReadProfileValue(file, "T", "a"), "2");
}

}  // namespace
}  // namespace sirelo
