// The orders the user sorts result lists by: sizes in any unit, counts and
// dates as numbers, cells without a value below every value.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cell_order.h"
#include "sites/worker_context.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

struct Ordering {
    CellOrder order;
    // Cells from the smallest value to the largest; cells in one inner list are equal.
    std::vector<std::vector<std::string>> ascending;
};

const Ordering kOrderings[] = {
    {CellOrder::Size,
     {{"", "unknown", "12 parsecs"},
      {"5B", "5 B", "5"},
      {"48.2 KB", "48.2KiB"},
      {"700MB", "700 m"},
      {"1.2 GB", "1.2G", "1,228.8 MB"},
      {"1.5 G"},
      {"2.35 GB"},
      {"1 TB", "1024 GB"}}},
    {CellOrder::Number,
     {{"", "-"}, {"0"}, {"9"}, {"10", " 10 "}, {"1,024"}, {"9999"}, {"1.2万", "12000"}, {"1亿"}}},
    {CellOrder::Date,
     {{"", "3天前", "2019-13-01"},
      {"2018-01-16"},
      {"2019-02-03", "2019/2/3", "2019.02.03"},
      {"2019-02-03 9:05"},
      {"2019-02-03 10:00:01"},
      {"2019-02-24", "2019年2月24日"},
      {"2019-11-02"},
      {"2020-01-01"}}},
};

TEST(CellOrderTest, ValuesRiseInTheOrderAUserExpects) {
    for (const Ordering& ordering : kOrderings) {
        double previous = 0;
        bool first = true;
        for (const auto& equals : ordering.ascending) {
            const double value = CellValue(ordering.order, Utf8ToGbk(equals.front()));
            for (const std::string& cell : equals) {
                EXPECT_EQ(CellValue(ordering.order, Utf8ToGbk(cell)), value) << cell;
            }
            if (!first) {
                EXPECT_LT(previous, value) << equals.front();
            }
            previous = value;
            first = false;
        }
        EXPECT_EQ(CellValue(ordering.order, ""), kNoValue);
    }
}

TEST(CellOrderTest, ColumnsSortByTheirMeaning) {
    EXPECT_EQ(MagnetColumnOrder(kMagnetOrdinal), CellOrder::Number);
    EXPECT_EQ(MagnetColumnOrder(kMagnetName), CellOrder::Text);
    EXPECT_EQ(MagnetColumnOrder(kMagnetLink), CellOrder::Text);
    EXPECT_EQ(MagnetColumnOrder(kMagnetSize), CellOrder::Size);
    EXPECT_EQ(MagnetColumnOrder(kMagnetHeat), CellOrder::Number);
    EXPECT_EQ(MagnetColumnOrder(kMagnetCreated), CellOrder::Date);
    EXPECT_EQ(OnlineColumnOrder(kOnlineOrdinal), CellOrder::Number);
    EXPECT_EQ(OnlineColumnOrder(kOnlinePageAddress), CellOrder::Text);
}

}  // namespace
}  // namespace sirelo
