// One keystroke in the filter bar of a 10,000-row magnet list in the real
// widgets (offscreen): the proxy tests every row and lays out what passes, and
// the view lays itself out again. Each iteration types the next key of
// "1080p", then of ">2GB", then clears the box, so a word that narrows, a
// size word and the way back to every row are all in the mean. In the order of
// arrival and sorted by size, and with every row selected (the selection
// follows every layout change); and the worst keystroke, which hides or
// brings back all 10,000 rows of a sorted list.
//
// Widget code, like result_view_stall_bench: the view's share counts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>
#include <string>
#include <vector>

#include "app/cell_order.h"
#include "app/filter_bar.h"
#include "app/result_list_model.h"
#include "app/sorted_rows_proxy.h"
#include "sites/worker_context.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

constexpr int kRows = 10000;

// Names of which a fifth hold 1080p, sizes from 1 MB to 10 GB in no order.
void Fill(ResultList& list) {
    const std::string title = Utf8ToGbk("流浪地球 The Wandering Earth 国语中字 ");
    const char* const kForms[] = {"1080p", "720p", "2160p", "HDTV", "BluRay"};
    for (int i = 0; i < kRows; ++i) {
        const unsigned mixed = static_cast<unsigned>(i) * 2654435761u;
        const int row = list.AppendRow(std::to_string(i + 1));
        list.SetCell(row, kMagnetName, title + kForms[i % 5] + " " + std::to_string(i));
        list.SetCell(row, kMagnetLink, "magnet:?xt=urn:btih:" + std::to_string(mixed));
        list.SetCell(row, kMagnetSize, std::to_string(1 + mixed % 10000) + " MB");
    }
}

// Keystroke by keystroke: the texts the box holds after each key; or, for the
// worst keystroke, every row hidden and every row back in turn.
std::vector<QString> Keystrokes(bool allOrNone) {
    if (allOrNone) return {QStringLiteral(">9TB"), QString()};
    std::vector<QString> texts;
    for (const char* typed : {"1080p", ">2GB"}) {
        const QString word = QString::fromUtf8(typed);
        for (int n = 1; n <= word.size(); ++n)
            texts.push_back(word.left(n));
        texts.push_back(QString());
    }
    return texts;
}

void FilterKeystroke(benchmark::State& state) {
    const bool sorted = state.range(0) != 0, allSelected = state.range(1) != 0;
    const bool allOrNone = state.range(2) != 0;
    ResultList list(kMagnetColumnCount, kMagnetLink);
    ResultListModel model(
        list, {"ID", "资源名称", "磁力链接", "来源站点", "文件大小", "资源热度", "创建时间"});
    Fill(list);
    model.publish();
    SortedRowsProxy rows(&model, {MagnetColumnOrder, kMagnetName, kMagnetSize});
    QWidget page;
    page.resize(1159, 346);
    auto* view = new QTreeView(&page);
    view->setGeometry(0, 0, 1159, 346);
    view->setUniformRowHeights(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setModel(&rows);
    view->setSortingEnabled(true);
    view->sortByColumn(sorted ? kMagnetSize : -1, Qt::DescendingOrder);
    auto* bar = new FilterBar(view, &rows);
    page.show();
    bar->open();
    if (allSelected) view->selectAll();
    QCoreApplication::processEvents();

    const std::vector<QString> keys = Keystrokes(allOrNone);
    std::size_t key = 0;
    for (auto _ : state) {
        bar->box()->setText(keys[key]);
        QCoreApplication::processEvents();  // the view lays the rows out
        key = (key + 1) % keys.size();
    }
    state.counters["rows"] = kRows;
}

BENCHMARK(FilterKeystroke)
    ->ArgNames({"sorted", "allSelected", "allOrNone"})
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({1, 1, 0})
    ->Args({1, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
}  // namespace sirelo

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
