// The magnet list's row store as the workers fill it: 20,000 rows, each
// inserted under the run's lock. The duplicate test (FindRowByCell on the link
// column, through the hash index) is measured against the same inserts without
// it, and so is the torrent test of 种子去重 (InfoHashOf and FindRowByInfoHash
// before the link test); the heap taken by 20,000 rows is reported as a counter.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sites/info_hash.h"
#include "sites/result_list.h"
#include "sites/worker_context.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

constexpr int kRows = 20000;

struct Result {
    std::string name, link, site, size, heat, created;
};

// Rows as a magnet site gives them: a GBK name and a 40-digit info hash.
const std::vector<Result>& Results() {
    static const std::vector<Result> results = [] {
        std::vector<Result> all;
        const std::string name = Utf8ToGbk("流浪地球 The Wandering Earth 国语中字 1080p 第");
        for (int i = 0; i < kRows; ++i) {
            char hash[41];
            std::snprintf(hash, sizeof hash, "%08x0123456789abcdef0123456789ab%02d",
                          i * 2654435761u, i % 100);
            all.push_back({name + std::to_string(i), std::string("magnet:?xt=urn:btih:") + hash,
                           "Btrabbit", "2.3 GB", std::to_string(i % 997), "2019-02-24"});
        }
        return all;
    }();
    return results;
}

void Insert(ResultList& list, const Result& result) {
    const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
    list.SetCell(row, kMagnetName, result.name);
    list.SetCell(row, kMagnetLink, result.link);
    list.SetCell(row, kMagnetSite, result.site);
    list.SetCell(row, kMagnetSize, result.size);
    list.SetCell(row, kMagnetHeat, result.heat);
    list.SetCell(row, kMagnetCreated, result.created);
}

void BM_AppendWithoutDuplicateTest(benchmark::State& state) {
    const auto& results = Results();
    for (auto _ : state) {
        ResultList list(kMagnetColumnCount, kMagnetLink);
        std::mutex runLock;
        for (const Result& result : results) {
            std::lock_guard hold(runLock);
            Insert(list, result);
        }
        benchmark::DoNotOptimize(list.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_AppendWithoutDuplicateTest)->Unit(benchmark::kMillisecond);

void BM_AppendWithDuplicateTest(benchmark::State& state) {
    const auto& results = Results();
    for (auto _ : state) {
        ResultList list(kMagnetColumnCount, kMagnetLink);
        std::mutex runLock;
        int dropped = 0;
        for (const Result& result : results) {
            std::lock_guard hold(runLock);
            if (list.FindRowByCell(result.link, kMagnetLink) >= 0) {
                ++dropped;
                continue;
            }
            Insert(list, result);
        }
        benchmark::DoNotOptimize(dropped);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_AppendWithDuplicateTest)->Unit(benchmark::kMillisecond);

// 种子去重 on: the torrent test (the link's info-hash through its index) first.
void BM_AppendWithTorrentTest(benchmark::State& state) {
    const auto& results = Results();
    for (auto _ : state) {
        ResultList list(kMagnetColumnCount, kMagnetLink);
        std::mutex runLock;
        int dropped = 0;
        for (const Result& result : results) {
            std::lock_guard hold(runLock);
            const std::optional<InfoHash> hash = InfoHashOf(result.link);
            if ((hash && list.FindRowByInfoHash(*hash) >= 0) ||
                list.FindRowByCell(result.link, kMagnetLink) >= 0) {
                ++dropped;
                continue;
            }
            Insert(list, result);
        }
        benchmark::DoNotOptimize(dropped);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_AppendWithTorrentTest)->Unit(benchmark::kMillisecond);

void BM_MemoryFor20000MagnetRows(benchmark::State& state) {
    const auto& results = Results();
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        {
            ResultList list(kMagnetColumnCount, kMagnetLink);
            for (const Result& result : results)
                Insert(list, result);
            const double bytes = static_cast<double>(mallinfo2().uordblks - before);
            state.counters["heap_MB"] = bytes / (1024.0 * 1024.0);
            state.counters["bytes_per_row"] = bytes / kRows;
        }
    }
    std::size_t cellBytes = 0;
    for (const Result& r : results) {
        cellBytes += r.name.size() + r.link.size() + r.site.size() + r.size.size() + r.heat.size() +
                     r.created.size() + 5;
    }
    state.counters["cell_text_bytes_per_row"] = static_cast<double>(cellBytes) / kRows;
}
BENCHMARK(BM_MemoryFor20000MagnetRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace sirelo

BENCHMARK_MAIN();
