#include "sites/result_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sites/worker_context.h"

namespace sirelo {
namespace {

class CountingObserver : public ResultListObserver {
  public:
    void rowsChanged() override { ++changes; }
    void scrollRequested(int row) override { lastScrolled = row; }
    std::atomic<int> changes{0};
    std::atomic<int> lastScrolled{-1};
};

TEST(ResultListTest, AppendFindAndRead) {
    ResultList list(kMagnetColumnCount, kMagnetLink);
    EXPECT_EQ(list.AppendRow("1"), 0);
    EXPECT_EQ(list.AppendRow("2"), 1);
    EXPECT_EQ(list.AppendRow("3"), 2);
    EXPECT_EQ(list.RowCount(), 3);
    list.SetCell(1, kMagnetLink, "magnet:?xt=urn:btih:ABC");
    list.SetCell(2, kMagnetLink, "magnet:?xt=urn:btih:ABC");
    EXPECT_EQ(list.FindRowByCell("magnet:?xt=urn:btih:ABC", kMagnetLink), 1);
    EXPECT_EQ(list.FindRowByCell("magnet:?xt=urn:btih:abc", kMagnetLink), -1);
    EXPECT_EQ(list.FindRowByCell("magnet:?xt=urn:btih:AB", kMagnetLink), -1);
    EXPECT_EQ(list.CellText(0, 0), "1");
    EXPECT_EQ(list.CellText(0, kMagnetName), "");
    EXPECT_EQ(list.CellText(3, 0), "");
    EXPECT_EQ(list.CellText(0, kMagnetColumnCount), "");
    // Unindexed columns are searched too, from row 0.
    EXPECT_EQ(list.FindRowByCell("2", 0), 1);
    EXPECT_EQ(list.FindRowByCell("", kMagnetName), 0);
    list.SetCell(5, 0, "out of range");
    EXPECT_EQ(list.RowCount(), 3);
}

TEST(ResultListTest, IndexFollowsOverwrittenCells) {
    ResultList list(kMagnetColumnCount, kMagnetLink);
    for (int i = 0; i < 4; ++i)
        list.AppendRow(std::to_string(i + 1));
    // Fresh rows have an empty link, and the empty text is found like any other.
    EXPECT_EQ(list.FindRowByCell("", kMagnetLink), 0);
    list.SetCell(0, kMagnetLink, "a");
    EXPECT_EQ(list.FindRowByCell("", kMagnetLink), 1);
    list.SetCell(2, kMagnetLink, "a");
    list.SetCell(3, kMagnetLink, "b");
    EXPECT_EQ(list.FindRowByCell("a", kMagnetLink), 0);
    list.SetCell(0, kMagnetLink, "b");  // the first "a" goes: the next one takes over
    EXPECT_EQ(list.FindRowByCell("a", kMagnetLink), 2);
    EXPECT_EQ(list.FindRowByCell("b", kMagnetLink), 0);
    list.SetCell(2, kMagnetLink, "c");
    EXPECT_EQ(list.FindRowByCell("a", kMagnetLink), -1);
    EXPECT_EQ(list.FindRowByCell("", kMagnetLink), 1);
    list.SetCell(1, kMagnetLink, "c");
    EXPECT_EQ(list.FindRowByCell("", kMagnetLink), -1);
    EXPECT_EQ(list.FindRowByCell("c", kMagnetLink), 1);
}

// Two sites give the same torrent under other names, trackers and hash forms.
TEST(ResultListTest, InfoHashFormsNameTheSameTorrent) {
    const std::string hex = "0123456789abcdef0123456789abcdef01234567";
    const std::string base32 = "AERUKZ4JVPG66AJDIVTYTK6N54ASGRLH";
    struct Form {
        std::string link;
        bool named;  // names the torrent above; otherwise no torrent at all
    };
    const Form forms[] = {
        {"magnet:?xt=urn:btih:" + hex, true},
        {"magnet:?dn=Film%201080p&xt=urn:btih:0123456789ABCDEF0123456789ABCDEF01234567&tr=udp",
         true},
        {"MAGNET:?XT=URN:BTIH:" + base32 + "&dn=x", true},
        {"magnet:?xt=urn:btih:aeruKZ4JVPG66AJDIVTYTK6N54ASGRLH", true},
        {"magnet:?xt=urn:btih:" + hex.substr(1), false},  // 39 digits
        {"magnet:?xt=urn:btih:" + hex + "0", false},      // 41 digits
        {"magnet:?xt=urn:btih:g123456789abcdef0123456789abcdef01234567", false},
        {"magnet:?xt=urn:btih:AERUKZ4JVPG66AJDIVTYTK6N54ASGRL1", false},  // 1 is no base32
        {"magnet:?dn=xt=urn:btih:" + hex, false},  // inside another parameter
        {"http://example.com/?xt=urn:btih:" + hex, false},
        {"", false},
    };
    const std::optional<InfoHash> expected = InfoHashOf(forms[0].link);
    ASSERT_TRUE(expected);
    EXPECT_EQ((*expected)[0], 0x01);
    EXPECT_EQ((*expected)[19], 0x67);
    for (const Form& form : forms) {
        const std::optional<InfoHash> hash = InfoHashOf(form.link);
        EXPECT_EQ(hash.has_value(), form.named) << form.link;
        if (form.named) {
            EXPECT_EQ(*hash, *expected) << form.link;
        }
    }

    // The list finds the first row of a torrent, and follows overwritten links.
    ResultList list(kMagnetColumnCount, kMagnetLink);
    for (int i = 0; i < 3; ++i)
        list.AppendRow(std::to_string(i + 1));
    list.SetCell(1, kMagnetLink, forms[2].link);
    list.SetCell(2, kMagnetLink, forms[1].link);
    EXPECT_EQ(list.FindRowByInfoHash(*expected), 1);
    list.SetCell(1, kMagnetLink, "magnet:?xt=urn:btih:" + std::string(40, 'f'));
    EXPECT_EQ(list.FindRowByInfoHash(*expected), 2);
    list.DeleteAllRows();
    EXPECT_EQ(list.FindRowByInfoHash(*expected), -1);
}

TEST(ResultListTest, DeleteAllRowsEmptiesListAndIndex) {
    ResultList list(kMagnetColumnCount, kMagnetLink);
    list.AppendRow("1");
    list.SetCell(0, kMagnetLink, "x");
    list.DeleteAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.FindRowByCell("x", kMagnetLink), -1);
    EXPECT_EQ(list.AppendRow("1"), 0);
}

TEST(ResultListTest, UpdatesTellTheViewWhatChanged) {
    ResultList list(kOnlineColumnCount);
    CountingObserver observer;
    list.setObserver(&observer);
    list.AppendRow("1");
    list.AppendRow("2");
    ResultList::Update update = list.takeUpdate();
    EXPECT_FALSE(update.cleared);
    EXPECT_EQ(update.rowCount, 2);
    EXPECT_EQ(update.firstChangedRow, -1);

    list.SetCell(1, kOnlineSite, "7DDS");
    list.SetCell(0, kOnlineSite, "7DDS");
    // A row the view has not had yet is new to it, not changed.
    list.SetCell(list.AppendRow("3"), kOnlineSite, "7DDS");
    update = list.takeUpdate();
    EXPECT_EQ(update.firstChangedRow, 0);
    EXPECT_EQ(update.lastChangedRow, 1);
    EXPECT_EQ(list.takeUpdate().firstChangedRow, -1);

    list.DeleteAllRows();
    list.AppendRow("1");
    update = list.takeUpdate();
    EXPECT_TRUE(update.cleared);
    EXPECT_EQ(update.rowCount, 1);
    EXPECT_FALSE(list.takeUpdate().cleared);

    EXPECT_EQ(observer.changes, 8);
    list.ScrollIntoView(0);
    EXPECT_EQ(observer.lastScrolled, 0);
}

// Sixteen workers insert as the magnet workers do: the duplicate test, the row
// number and the cells all under the run's lock, so nothing is lost or doubled.
TEST(ResultListTest, ConcurrentInsertsUnderTheRunLockLoseNothing) {
    constexpr int kThreads = 16;
    constexpr int kRowsEach = 10000;
    constexpr int kSharedEvery = 4;  // every fourth link is offered by all threads
    ResultList list(kMagnetColumnCount, kMagnetLink);
    CountingObserver observer;
    list.setObserver(&observer);
    std::mutex runLock;
    std::atomic<int> filteredLinks{0};
    std::atomic<int> readersDone{0};

    auto linkOf = [](int thread, int i) {
        return i % kSharedEvery == 0 ? "magnet:shared-" + std::to_string(i)
                                     : "magnet:" + std::to_string(thread) + "-" + std::to_string(i);
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRowsEach; ++i) {
                const std::string link = linkOf(t, i);
                std::lock_guard hold(runLock);
                if (list.FindRowByCell(link, kMagnetLink) >= 0) {
                    ++filteredLinks;
                    continue;
                }
                const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
                list.SetCell(row, kMagnetName, std::to_string(t));
                list.SetCell(row, kMagnetLink, link);
            }
        });
    }
    // Readers without the lock, as the status bar and the view read.
    std::thread reader([&] {
        while (readersDone == 0) {
            const int rows = list.RowCount();
            if (rows > 0) (void)list.CellText(rows - 1, kMagnetLink);
            (void)list.takeUpdate();
        }
    });
    for (auto& thread : threads)
        thread.join();
    readersDone = 1;
    reader.join();

    const int shared = kRowsEach / kSharedEvery;
    const int expectedRows = shared + kThreads * (kRowsEach - shared);
    ASSERT_EQ(list.RowCount(), expectedRows);
    EXPECT_EQ(filteredLinks, (kThreads - 1) * shared);
    std::set<std::string> links;
    for (int row = 0; row < expectedRows; ++row) {
        ASSERT_EQ(list.CellText(row, 0), std::to_string(row + 1));
        const std::string link = list.CellText(row, kMagnetLink);
        ASSERT_TRUE(links.insert(link).second) << link;
        ASSERT_EQ(list.FindRowByCell(link, kMagnetLink), row);
    }
    EXPECT_EQ(list.FindRowByCell("", kMagnetLink), -1);
}

}  // namespace
}  // namespace sirelo
