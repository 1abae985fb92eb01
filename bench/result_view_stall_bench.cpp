// How long the window thread stalls while 20,000 magnet rows stream in from
// four worker threads into the real main window (offscreen), in the order of
// arrival, into a list sorted by size, and into one sorted and filtered (the
// filter bar holding ">500MB 1080p", which about half the rows pass), also
// while every tenth result names a torrent already listed. A 1 ms timer on
// the window thread is the probe: its largest gap is the longest stall. The
// baseline is the same probe on an idle window in the same run. Then how long
// sorting 100,000 rows by size takes, the view's new layout included.
//
// Widget code, unlike the other benchmarks: what it measures is the window.
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

#include "app/filter_bar.h"
#include "app/main_window.h"
#include "app/sorted_rows_proxy.h"
#include "support/offline_definitions.h"
#include "text/codepage.h"

namespace {

using namespace sirelo;

class NoWorkers : public WorkerLauncher {
  public:
    void startMagnetWorker(RunLock, int, int) override {}
    void startOnlineWorker(RunLock, int) override {}
};

constexpr int kThreads = 4;
constexpr int kRowsEach = 5000;

struct Probe {
    qint64 maxGapMs = 0;
    qint64 elapsedMs = 0;
    int inserts = 0;
};

// Runs the event loop with the probe until `done` says so.
Probe RunProbe(QApplication& app, QAbstractItemModel* model, const std::function<bool()>& done) {
    Probe probe;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        probe.maxGapMs = std::max(probe.maxGapMs, now - last);
        last = now;
        if (done()) app.quit();
    });
    auto connection =
        QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] { ++probe.inserts; });
    timer.start();
    app.exec();
    QObject::disconnect(connection);
    probe.elapsedMs = clock.elapsed();
    return probe;
}

// Sizes in the units the sites write, in no order.
std::string SizeText(int n) {
    static const char* const kUnits[] = {" KB", "MB", " GB", " G"};
    const unsigned mixed = static_cast<unsigned>(n) * 2654435761u;
    return std::to_string(mixed % 1000) + "." + std::to_string(mixed % 10) + kUnits[mixed % 4];
}

// Each worker adds its rows page by page (20 rows, then a short pause, as a
// page's parsing takes a moment), or all at once when `pagePause` is zero.
// With `relabel`, every tenth row is a torrent already listed (种子去重): an
// early row's 来源站点 names one site more instead.
void Stream(MainWindow& window, bool followNewest, std::chrono::microseconds pagePause,
            bool relabel) {
    ResultList& list = window.controller().magnetList();
    std::mutex runLock;
    const std::string name = Utf8ToGbk("流浪地球 The Wandering Earth 国语中字 1080p");
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < kRowsEach; ++i) {
                const std::string link = "magnet:?xt=urn:btih:" + std::to_string(t) + "-" +
                                         std::to_string(i) + "0123456789abcdef0123456789";
                std::unique_lock hold(runLock);
                if (list.FindRowByCell(link, kMagnetLink) >= 0) continue;
                if (relabel && i % 10 == 4) {
                    list.SetCell(i / 10, kMagnetSite, Utf8ToGbk("Btrabbit、DSS"));
                    continue;
                }
                const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
                list.SetCell(row, kMagnetName, name);
                list.SetCell(row, kMagnetLink, link);
                list.SetCell(row, kMagnetSite, "Btrabbit");
                list.SetCell(row, kMagnetSize, SizeText(t * kRowsEach + i));
                list.SetCell(row, kMagnetHeat, std::to_string(i));
                list.SetCell(row, kMagnetCreated, "2019-02-24");
                if (followNewest) list.ScrollIntoView(row);
                if (i % 20 == 19 && pagePause.count() > 0) {
                    hold.unlock();
                    std::this_thread::sleep_for(pagePause);
                    hold.lock();
                }
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    SteadyClock clock;
    MainWindow window(clock, testing::OfflineSiteDefinitions(),
                      [](const WorkerContext&) { return std::make_unique<NoWorkers>(); });
    window.show();
    window.findChild<QTabWidget*>(QStringLiteral("选择夹1"))->setCurrentIndex(1);
    QAbstractItemModel* model =
        window.findChild<QTreeView*>(QStringLiteral("超级列表框1"))->model();

    QElapsedTimer idle;
    idle.start();
    const Probe baseline = RunProbe(app, model, [&] { return idle.elapsed() > 1000; });
    std::printf("idle window, 1 s:           largest gap %lld ms\n",
                static_cast<long long>(baseline.maxGapMs));

    struct Case {
        bool followNewest;
        std::chrono::microseconds pagePause;
        bool sortedBySize;
        const char* name;
        const char* filter = "";
        bool relabel = false;
    };
    const Case cases[] = {
        {false, std::chrono::microseconds(0), false, "at once"},
        {true, std::chrono::microseconds(0), false, "at once, following the newest"},
        {false, std::chrono::microseconds(1000), false, "page by page"},
        {true, std::chrono::microseconds(1000), false, "page by page, following the newest"},
        {false, std::chrono::microseconds(0), true, "at once, sorted by size"},
        {true, std::chrono::microseconds(1000), true,
         "page by page, sorted by size, following the newest"},
        {false, std::chrono::microseconds(0), true, "at once, sorted by size, filtered",
         ">500MB 1080p"},
        {true, std::chrono::microseconds(1000), true,
         "page by page, sorted by size, filtered, following the newest", ">500MB 1080p"},
        {true, std::chrono::microseconds(1000), true,
         "page by page, sorted by site, filtered, following the newest, every tenth a torrent "
         "listed",
         ">500MB 1080p", true},
    };
    auto* filterBar = window.findChild<FilterBar*>(QStringLiteral("过滤条1"));
    const auto* rows = static_cast<const SortedRowsProxy*>(model);
    auto* view = window.findChild<QTreeView*>(QStringLiteral("超级列表框1"));
    for (const Case& c : cases) {
        view->sortByColumn(c.relabel        ? kMagnetSite
                           : c.sortedBySize ? kMagnetSize
                                            : -1,
                           Qt::DescendingOrder);
        if (*c.filter != '\0') {
            filterBar->open();
            filterBar->box()->setText(QString::fromUtf8(c.filter));
        } else {
            filterBar->close();
        }
        window.controller().magnetList().DeleteAllRows();
        std::thread streamer;
        QTimer::singleShot(50, [&] {
            streamer =
                std::thread(Stream, std::ref(window), c.followNewest, c.pagePause, c.relabel);
        });
        const Probe run = RunProbe(app, model, [&] {
            return rows->storeRowCount() == kThreads * kRowsEach * (c.relabel ? 9 : 10) / 10 &&
                   streamer.joinable();
        });
        streamer.join();
        std::printf(
            "%d rows %s: largest gap %lld ms (%.1fx the idle gap), %d batches, %d shown, "
            "%lld ms in all\n",
            rows->storeRowCount(), c.name, static_cast<long long>(run.maxGapMs),
            static_cast<double>(run.maxGapMs) / std::max<qint64>(1, baseline.maxGapMs), run.inserts,
            rows->rowCount(), static_cast<long long>(run.elapsedMs));
    }

    // 100,000 rows in arrival order, then one click's worth of sorting.
    filterBar->close();
    view->sortByColumn(-1, Qt::AscendingOrder);
    ResultList& list = window.controller().magnetList();
    list.DeleteAllRows();
    for (int i = 0; i < 100'000; ++i) {
        const int row = list.AppendRow(std::to_string(i + 1));
        list.SetCell(row, kMagnetSize, SizeText(i));
    }
    QElapsedTimer settle;
    settle.start();
    RunProbe(app, model, [&] { return model->rowCount() == 100'000 && settle.elapsed() > 200; });
    // The window thread's processor time beside the wall clock: on a busy
    // machine the wall clock also counts other programs' turns.
    auto cpuMs = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    };
    for (int round = 0; round < 3; ++round) {
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            view->sortByColumn(-1, Qt::AscendingOrder);
            QCoreApplication::processEvents();
            QElapsedTimer sorting;
            sorting.start();
            const double cpuStart = cpuMs();
            view->sortByColumn(kMagnetSize, order);
            QCoreApplication::processEvents();  // the view lays the rows out again
            std::printf("sorting 100,000 rows by size (%s): %lld ms, %.0f ms of processor time\n",
                        order == Qt::AscendingOrder ? "ascending" : "descending",
                        static_cast<long long>(sorting.elapsed()), cpuMs() - cpuStart);
        }
    }
    return 0;
}
