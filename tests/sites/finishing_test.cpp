#include <gtest/gtest.h>

#include "sites/finishing.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

TEST(Finishing, AppliesTheStepsInOrder) {
    EXPECT_EQ(ApplyFinishing("raw", {}), "raw");
    EXPECT_EQ(ApplyFinishing(":?xt=1&amp;dn=x", {Before("&amp;dn="), Prefix("magnet")}),
              "magnet:?xt=1");
    EXPECT_EQ(ApplyFinishing(":?xt=1", {Before("&amp;dn="), Prefix("magnet")}), "magnet");
    EXPECT_EQ(ApplyFinishing("<b class=\"y\">2 GB</b>", {Between(">", "</b>")}), "2 GB");
    EXPECT_EQ(ApplyFinishing("a\">b\">c", {AfterLast("\">")}), "c");
    EXPECT_EQ(ApplyFinishing("abc", {AfterLast("\">")}), "");
}

TEST(Finishing, ReplacesPairsInTurnIgnoringAsciiCase) {
    const FinishStep strip = Replace({"<b>", "", "</b>", "", " ", ""});
    EXPECT_EQ(ApplyFinishing("Big <B>Fish</b> 2003", {strip}), "BigFish2003");
    // The second pair sees what the first one made.
    EXPECT_EQ(ApplyFinishing("ab", {Replace({"a", "b", "bb", "c"})}), "c");
    EXPECT_EQ(ApplyFinishing(Gbk("1.2?GB"), {Replace({"?", " "})}), "1.2 GB");
}

TEST(Finishing, StepArgumentsAreGbk) {
    EXPECT_EQ(Prefix("磁力").args.at(0), Gbk("磁力"));
    EXPECT_EQ(ApplyFinishing(Gbk("大小：3 GB"), {AfterLast("：")}), "3 GB");
}

}  // namespace
}  // namespace sirelo
