#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "app/detached_thread.h"
#include "app/search_controller.h"
#include "run_fakes.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

using namespace std::chrono_literals;
using testing::Journal;
using testing::Time;
using testing::WorkerStart;
using Entries = std::vector<std::string>;

const Entries kRunningSteps{"暂停 enabled", "停止 shown", "暂停 shown", "搜索 hidden",
                            "继续 hidden"};
const Entries kIdleSteps{"暂停 disabled", "停止 hidden", "继续 hidden", "搜索 shown", "暂停 shown"};

bool Contains(const Entries& entries, const std::string& entry) {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

// The entries from `first` on, without the online starts (they come from their
// own thread, so their place next to the dispatcher's last steps is free).
Entries Dispatcher(const Entries& entries) {
    Entries kept;
    for (const auto& entry : entries) {
        if (entry.rfind("online", 0) != 0) kept.push_back(entry);
    }
    return kept;
}

Entries Concat(std::initializer_list<Entries> parts) {
    Entries all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<WorkerStart> Magnet(const std::vector<WorkerStart>& starts, bool magnet = true) {
    std::vector<WorkerStart> kept;
    for (const auto& start : starts) {
        if (start.magnet == magnet) kept.push_back(start);
    }
    return kept;
}

class SearchRunTest : public ::testing::Test {
  protected:
    SearchRunTest()
        : controller_({view_, notifier_, box_, clock_}, BuiltInSiteDefinitions(),
                      [this](const WorkerContext&) {
                          return std::make_unique<testing::FakeLauncher>(
                              journal_, [this](const WorkerStart& start) {
                                  if (onStart_) onStart_(start);
                              });
                      }) {
        LiveSettings& settings = controller_.settings();
        settings.pageCount = 3;
        settings.intervalMs = 100;
        for (auto& site : settings.magnetSites)
            site = true;
        for (auto& site : settings.onlineSites)
            site = true;
        box_.setText(Utf8ToGbk("电影"));
    }

    ~SearchRunTest() override {
        if (controller_.isDispatcherRunning()) controller_.stopRun();
        EXPECT_TRUE(WaitForNoLiveThreads(10s));
    }

    void start() {
        started_ = Time::now();
        controller_.startSearch();
    }

    bool waitForDispatcherEnd(std::chrono::milliseconds timeout = 10s) {
        const auto deadline = Time::now() + timeout;
        while (controller_.isDispatcherRunning()) {
            if (Time::now() > deadline) return false;
            std::this_thread::sleep_for(2ms);
        }
        // The online launch runs on a thread of its own.
        return WaitForNoLiveThreads(timeout);
    }

    // Milliseconds from the click to `start`.
    long long at(const WorkerStart& start) const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(start.at - started_).count();
    }

    Journal journal_;
    testing::FakeRunView view_{journal_};
    testing::FakeNotifier notifier_{journal_};
    testing::FakeSearchBox box_;
    testing::FakeClock clock_;
    std::function<void(const WorkerStart&)> onStart_;
    Time::time_point started_;
    SearchController controller_;
};

TEST_F(SearchRunTest, EmptyBoxBeepsAndStartsNothing) {
    box_.setText("");
    start();
    EXPECT_EQ(journal_.entries(),
              (Entries{"beep", "message " + Utf8ToGbk("请输入电影名称再进行搜索") + " / " +
                                   Utf8ToGbk("信息：")}));
    EXPECT_FALSE(controller_.isDispatcherRunning());
    EXPECT_EQ(LiveThreadCount(), 0);
}

TEST_F(SearchRunTest, ASingleSpaceIsAKeyword) {
    box_.setText(" ");
    controller_.settings().pageCount = 1;
    start();
    ASSERT_TRUE(waitForDispatcherEnd());
    EXPECT_EQ(controller_.run().keyword(), " ");
    EXPECT_EQ(Magnet(journal_.starts()).size(), 4u);
}

// Three pages of four sites: each page's workers in site order, one interval
// apart, the online workers after the last wait, every worker on the run's lock.
TEST_F(SearchRunTest, PagesGoOutOneIntervalApartThenTheOnlineSearch) {
    start();
    ASSERT_TRUE(waitForDispatcherEnd());

    Entries magnetStarts;
    for (int page = 1; page <= 3; ++page) {
        for (int site = 0; site < 4; ++site) {
            magnetStarts.push_back("magnet " + std::to_string(site) + " page " +
                                   std::to_string(page));
        }
    }
    EXPECT_EQ(Dispatcher(journal_.entries()), Concat({{"panes idle"},
                                                      kRunningSteps,
                                                      {"tab 1"},
                                                      magnetStarts,
                                                      kIdleSteps,
                                                      {"panes refreshed"}}));

    const auto starts = journal_.starts();
    ASSERT_EQ(starts.size(), 14u);
    for (const auto& start : Magnet(starts)) {
        EXPECT_GE(at(start), (start.page - 1) * 100) << "page " << start.page;
        EXPECT_LT(at(start), (start.page - 1) * 100 + 500) << "page " << start.page;
    }
    const auto online = Magnet(starts, false);
    ASSERT_EQ(online.size(), 2u);
    EXPECT_EQ(online[0].site, k7dds);
    EXPECT_EQ(online[1].site, kLexiang);
    EXPECT_GE(at(online[0]), 300);
    for (const auto& start : starts) {
        EXPECT_NE(start.lock, nullptr);
        EXPECT_EQ(start.lock, starts.front().lock);
    }
    EXPECT_EQ(controller_.run().pageCounter, 3);
}

TEST_F(SearchRunTest, ThreadCountChangesNeitherOrderNorTiming) {
    controller_.settings().pageCount = 5;
    controller_.settings().intervalMs = 50;
    for (int site = 1; site < 4; ++site)
        controller_.settings().magnetSites[site] = false;
    for (int threads : {1, 2, 20}) {
        SCOPED_TRACE(threads);
        journal_.clear();
        controller_.settings().threadCount = threads;
        start();
        ASSERT_TRUE(waitForDispatcherEnd());
        const auto starts = Magnet(journal_.starts());
        ASSERT_EQ(starts.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(starts[i].page, i + 1);
            EXPECT_GE(at(starts[i]), i * 50);
        }
        EXPECT_GE(at(Magnet(journal_.starts(), false).front()), 250);
    }
}

// Counts are read once per run, the interval before each wait, the site boxes
// for each page and the online boxes at the launch.
TEST_F(SearchRunTest, LiveSettingsAreReadWhenTheyAreNeeded) {
    onStart_ = [this](const WorkerStart& start) {
        if (start.magnet && start.page == 1 && start.site == kBtbook) {
            LiveSettings& settings = controller_.settings();
            settings.pageCount = 10;
            settings.threadCount = 1;
            settings.intervalMs = 400;
            settings.magnetSites[kZzs] = false;
            settings.onlineSites[k7dds] = false;
        }
    };
    start();
    ASSERT_TRUE(waitForDispatcherEnd());
    const auto starts = journal_.starts();
    const auto magnet = Magnet(starts);
    ASSERT_EQ(magnet.size(), 4u + 3u + 3u);
    EXPECT_EQ(magnet[3].site, kBtbook);
    EXPECT_EQ(magnet[4].page, 2);
    for (std::size_t i = 4; i < magnet.size(); ++i)
        EXPECT_NE(magnet[i].site, kZzs);
    // The wait after page 2 began after the change: far longer than the old 100 ms,
    // with room for a worker that logs its start late on a loaded machine.
    EXPECT_GE(
        std::chrono::duration_cast<std::chrono::milliseconds>(magnet[7].at - magnet[4].at).count(),
        300);
    const auto online = Magnet(starts, false);
    ASSERT_EQ(online.size(), 1u);
    EXPECT_EQ(online[0].site, kLexiang);
}

TEST_F(SearchRunTest, WithNoSiteCheckedThePagesStillWaitAndTheOnlineSearchRuns) {
    for (auto& site : controller_.settings().magnetSites)
        site = false;
    start();
    ASSERT_TRUE(waitForDispatcherEnd());
    const auto starts = journal_.starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_FALSE(starts[0].magnet);
    EXPECT_GE(at(starts[0]), 300);
    EXPECT_EQ(Dispatcher(journal_.entries()),
              Concat({{"panes idle"}, kRunningSteps, {"tab 1"}, kIdleSteps, {"panes refreshed"}}));
}

TEST_F(SearchRunTest, PauseHoldsThePagesAndALongPauseLetsTheNextGoAtOnce) {
    controller_.settings().pageCount = 10;
    controller_.settings().intervalMs = 1000;
    for (int site = 1; site < 4; ++site)
        controller_.settings().magnetSites[site] = false;
    start();
    ASSERT_TRUE(journal_.waitForEntry("magnet 0 page 2"));
    controller_.pauseRun();
    EXPECT_FALSE(journal_.waitForEntry("magnet 0 page 3", 1500ms));
    const auto continued = Time::now();
    controller_.continueRun();
    ASSERT_TRUE(journal_.waitForEntry("magnet 0 page 3"));
    const auto starts = Magnet(journal_.starts());
    EXPECT_LT(starts[2].at - continued, 600ms);
    controller_.stopRun();
    ASSERT_TRUE(waitForDispatcherEnd());

    Entries entries = journal_.entries();
    entries.erase(std::find(entries.begin(), entries.end(), "magnet 0 page 3"));
    const auto paused = std::find(entries.begin(), entries.end(), "magnet 0 page 2") + 1;
    EXPECT_EQ(Entries(paused, entries.end()),
              Concat({{"暂停 hidden", "继续 shown", "暂停 shown", "继续 hidden"}, kIdleSteps}));
}

TEST_F(SearchRunTest, AShortPauseDoesNotLengthenTheWait) {
    controller_.settings().pageCount = 2;
    controller_.settings().intervalMs = 1000;
    start();
    ASSERT_TRUE(journal_.waitForEntry("magnet 0 page 1"));
    controller_.pauseRun();
    std::this_thread::sleep_for(600ms);
    controller_.continueRun();
    ASSERT_TRUE(waitForDispatcherEnd());
    const auto starts = Magnet(journal_.starts());
    ASSERT_EQ(starts.size(), 8u);
    EXPECT_GE(at(starts[4]), 1000);
    EXPECT_LT(starts[4].at - starts[0].at, 1400ms);
}

TEST_F(SearchRunTest, StopWhilePausedEndsTheRunForGood) {
    controller_.settings().pageCount = 10;
    controller_.settings().intervalMs = 200;
    start();
    ASSERT_TRUE(journal_.waitForEntry("magnet 3 page 2"));
    controller_.pauseRun();
    controller_.stopRun();
    ASSERT_TRUE(waitForDispatcherEnd(1s));
    std::this_thread::sleep_for(400ms);

    const Entries entries = journal_.entries();
    EXPECT_EQ(journal_.starts().size(), 8u);
    EXPECT_FALSE(Contains(entries, "panes refreshed"));
    const auto tail = std::find(entries.begin(), entries.end(), "magnet 3 page 2") + 1;
    EXPECT_EQ(Entries(tail, entries.end()), Concat({{"暂停 hidden", "继续 shown"}, kIdleSteps}));
}

TEST_F(SearchRunTest, StopEndsAWaitAtOnceAndNothingFollows) {
    controller_.settings().pageCount = 5;
    controller_.settings().intervalMs = 3000;
    start();
    ASSERT_TRUE(journal_.waitForEntry("magnet 3 page 1"));
    controller_.stopRun();
    EXPECT_TRUE(waitForDispatcherEnd(1s));
    EXPECT_FALSE(controller_.isDispatcherRunning());
    const Entries entries = journal_.entries();
    EXPECT_EQ(journal_.starts().size(), 4u);
    EXPECT_FALSE(Contains(entries, "panes refreshed"));
    EXPECT_TRUE(std::equal(kIdleSteps.rbegin(), kIdleSteps.rend(), entries.rbegin()));
    // A stop after the end only sets the buttons again.
    journal_.clear();
    controller_.stopRun();
    EXPECT_EQ(journal_.entries(), kIdleSteps);
}

TEST_F(SearchRunTest, ASecondSearchStartsClean) {
    controller_.settings().pageCount = 1;
    bool secondRun = false;
    std::atomic<int> dirtyStarts{0};
    onStart_ = [&](const WorkerStart& start) {
        if (secondRun && start.magnet && start.site == kBtrabbit) {
            const bool clean =
                controller_.magnetList().RowCount() == 0 &&
                controller_.onlineList().RowCount() == 0 && controller_.run().filteredLinks == 0 &&
                controller_.run().filteredItems == 0 && !controller_.run().siteExhausted[kDss];
            if (!clean) ++dirtyStarts;
        }
        ResultList& list = start.magnet ? controller_.magnetList() : controller_.onlineList();
        list.AppendRow(std::to_string(list.RowCount() + 1));
        ++controller_.run().filteredLinks;
        ++controller_.run().filteredItems;
        controller_.run().siteExhausted[kDss] = true;
    };
    start();
    ASSERT_TRUE(waitForDispatcherEnd());
    EXPECT_EQ(controller_.magnetList().RowCount(), 4);
    const auto firstLock = journal_.starts().front().lock;

    journal_.clear();
    secondRun = true;
    box_.setText(Utf8ToGbk("另一部"));
    start();
    ASSERT_TRUE(waitForDispatcherEnd());
    EXPECT_EQ(dirtyStarts, 0);
    EXPECT_EQ(controller_.run().keyword(), Utf8ToGbk("另一部"));
    const Entries entries = journal_.entries();
    EXPECT_LT(std::find(entries.begin(), entries.end(), "tab 1"),
              std::find(entries.begin(), entries.end(), "magnet 0 page 1"));
    EXPECT_NE(journal_.starts().front().lock, firstLock);
}

TEST_F(SearchRunTest, StatusBarShowsTheListsTheCountersAndTheTime) {
    for (int i = 0; i < 57; ++i)
        controller_.magnetList().AppendRow(std::to_string(i + 1));
    for (int i = 0; i < 3; ++i)
        controller_.onlineList().AppendRow(std::to_string(i + 1));
    controller_.run().filteredLinks = 4;
    controller_.run().filteredItems = 10;
    controller_.run().startTick = 1000;
    clock_.tick = 6237;
    controller_.updateStatusBar();
    EXPECT_EQ(view_.lastPanes(), RefreshedStatusPanes({57, 3, 4, 10, 5237}));
    EXPECT_EQ(GbkToUtf8(view_.lastPanes()[4]), " 搜索耗时： 5.24  秒");

    controller_.run().startTick = 0xFFFFFF00u;  // the tick count wrapped during the run
    clock_.tick = 0x100;
    controller_.updateStatusBar();
    EXPECT_EQ(GbkToUtf8(view_.lastPanes()[4]), " 搜索耗时： 0.51  秒");
}

}  // namespace
}  // namespace sirelo
