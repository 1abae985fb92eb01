// PageFetch of a 200 KB page on loopback against a bare libcurl loop over the
// same server, one and sixteen threads; prints PageFetch's share of the bare
// loop's throughput at the end. On a shared machine run it with repetitions
// interleaved, e.g. --benchmark_repetitions=10 --benchmark_min_time=0.5
// --benchmark_enable_random_interleaving=true.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "net/page_fetch.h"
#include "support/loopback_server.h"

namespace {

constexpr std::size_t kPageBytes = 200 * 1024;

const std::string& PageUrl() {
    static auto* server = new sirelo::testsupport::LoopbackServer(
        sirelo::testsupport::Ok(sirelo::testsupport::BinaryNoise(kPageBytes)));
    static const std::string url = server->BaseUrl() + "/page.html";
    return url;
}

void BM_PageFetch(benchmark::State& state) {
    const std::string& url = PageUrl();
    for (auto _ : state) {
        sirelo::Bytes page = sirelo::PageFetch(url);
        if (page.size() != kPageBytes) state.SkipWithError("short page");
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kPageBytes));
}

std::size_t AppendBody(char* data, std::size_t, std::size_t size, void* user) {
    static_cast<std::string*>(user)->append(data, size);
    return size;
}

// The baseline: one easy handle per thread, reused for every fetch.
void BM_BareCurl(benchmark::State& state) {
    const std::string& url = PageUrl();
    CURL* easy = curl_easy_init();
    std::string page;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &page);
    for (auto _ : state) {
        page.clear();
        if (curl_easy_perform(easy) != CURLE_OK || page.size() != kPageBytes) {
            state.SkipWithError("bare fetch failed");
        }
    }
    curl_easy_cleanup(easy);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kPageBytes));
}

BENCHMARK(BM_BareCurl)->Threads(1)->UseRealTime();
BENCHMARK(BM_PageFetch)->Threads(1)->UseRealTime();
BENCHMARK(BM_BareCurl)->Threads(16)->UseRealTime();
BENCHMARK(BM_PageFetch)->Threads(16)->UseRealTime();

// The console report plus, per thread count, PageFetch over the bare loop.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto rate = run.counters.find("items_per_second");
            if (rate == run.counters.end()) continue;
            rates_[{run.run_name.function_name, run.threads}].push_back(rate->second.value);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (int threads : {1, 16}) {
            double page = Median({"BM_PageFetch", threads});
            double bare = Median({"BM_BareCurl", threads});
            if (page > 0 && bare > 0) {
                std::printf("threads %2d: PageFetch %.0f/s, bare libcurl %.0f/s, ratio %.2f\n",
                            threads, page, bare, page / bare);
            }
        }
    }

  private:
    using Key = std::pair<std::string, int>;

    // Medians, so that a burst of load on the machine during one run weighs little.
    double Median(const Key& key) {
        auto found = rates_.find(key);
        if (found == rates_.end()) return 0;
        std::vector<double>& rates = found->second;
        std::nth_element(rates.begin(), rates.begin() + rates.size() / 2, rates.end());
        return rates[rates.size() / 2];
    }

    std::map<Key, std::vector<double>> rates_;
};

}  // namespace

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
