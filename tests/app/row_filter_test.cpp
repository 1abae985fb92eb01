#include "app/row_filter.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace sirelo {
namespace {

struct FilterCase {
    const char* filter;
    const char* name;
    const char* size;
    bool passes;
};

// Texts are UTF-8 here; the list holds GBK.
const FilterCase kCases[] = {
    {"", "anything", "", true},
    {"   ", "anything", "", true},
    {"1080p", "Hero.2002.1080p.BluRay", "", true},
    {"1080P", "Hero.2002.1080p.BluRay", "", true},
    {"hero 1080p", "Hero.2002.1080p.BluRay", "", true},
    {"hero 720p", "Hero.2002.1080p.BluRay", "", false},
    {"英雄", "英雄 Hero 2002", "", true},
    {"英雄 HERO", "英雄 Hero 2002", "", true},
    {"英雄本色", "英雄 Hero 2002", "", false},
    // GBK 丷 is 81 52 ("R" as its trail byte), and 啊英 is B0 A1 D3 A2, which holds ∮ (A1 D3)
    // across its two characters: no word matches inside a character or across two.
    {"r", "丷", "", false},
    {"∮", "啊英", "", false},
    {"∮", "a∮b", "", true},
    {">2GB", "a", "2.5 GB", true},
    {">2GB", "a", "2 GB", false},
    {">=2GB", "a", "2 GB", true},
    {">2gb", "a", "2048 MB", false},
    {">2G", "a", "2049 MB", true},
    {"<700MB", "a", "699.9 MB", true},
    {"<700M", "a", "1.2 GB", false},
    {"<=700mb", "a", "700 MB", true},
    {">=1.5G", "a", "1536 MB", true},
    {">=1.5G", "a", "1.4 GB", false},
    {">1KB", "a", "1025 B", true},
    {">1TB", "a", "1.1 TB", true},
    {">2GB", "a", "", false},
    {">2GB", "a", "unknown", false},
    {">5GB 1080p", "Hero 1080p", "6 GB", true},
    {">5GB 1080p", "Hero 720p", "6 GB", false},
    {">1GB <2GB", "a", "1.5 GB", true},
    {">1GB <2GB", "a", "2.5 GB", false},
    // Not a size: an ordinary word that must occur in the name.
    {">abc", "x >abc y", "", true},
    {">", "no sign", "", false},
};

TEST(RowFilterTest, WordsAndSizeWords) {
    for (const FilterCase& c : kCases) {
        const RowFilter filter = ParseRowFilter(c.filter);
        EXPECT_EQ(RowPasses(filter, Utf8ToGbk(c.name), Utf8ToGbk(c.size)), c.passes)
            << "filter \"" << c.filter << "\" name \"" << c.name << "\" size \"" << c.size << '"';
    }
    EXPECT_TRUE(ParseRowFilter(" \t ").empty());
}

}  // namespace
}  // namespace sirelo
