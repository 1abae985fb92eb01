#include "text/html_references.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace sirelo {
namespace {

TEST(UnescapeHtml, TurnsReferencesIntoGbkAndLeavesTheRestAlone) {
    const struct {
        const char* name;
        std::string utf8;
        std::string unescaped;
    } cases[] = {
        {"named", "Tom &amp; Jerry &lt;1&gt; &quot;a&quot; &apos;b&apos;",
         "Tom & Jerry <1> \"a\" 'b'"},
        {"decimal", "&#33521;&#38596; &#65;", "英雄 A"},
        {"hexadecimal", "&#x82F1;&#X96C4;&#x41;", "英雄A"},
        {"once only", "&amp;lt;", "&lt;"},
        {"GBK lacks it", "&#x1F3AC;&#xD55C;", "??"},
        {"no-break space as a page's", "a&nbsp;b", Utf8ToGbk("a\u00A0b")},
        {"unknown", "&copy; &AMP; &hellip;", "&copy; &AMP; &hellip;"},
        {"no semicolon", "&amp &#65 &#x41", "&amp &#65 &#x41"},
        {"no digits", "&#; &#x; &#xG; &;", "&#; &#x; &#xG; &;"},
        {"no character", "&#0; &#xD800; &#x110000; &#99999999999999999999;",
         "&#0; &#xD800; &#x110000; &#99999999999999999999;"},
        {"at the end", "a&", "a&"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(UnescapeHtml(Utf8ToGbk(each.utf8)), Utf8ToGbk(each.unescaped)) << each.name;
    }
    // A GBK character whose second byte is a letter is never read as a name.
    EXPECT_EQ(UnescapeHtml(Gbk("英&amp;雄")), Gbk("英&雄"));
}

}  // namespace
}  // namespace sirelo
