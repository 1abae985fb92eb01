// Not a test by itself: check-clipboard-outlives-window runs it under X11.
// It shows the real window with one magnet row, double-clicks the row (which
// copies its link) and closes the window at once, which ends the process the
// way the program ends.

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "app/clipboard_handoff.h"
#include "app/main_window.h"
#include "support/offline_definitions.h"
#include "window_test_support.h"

namespace {

using namespace sirelo;

class NoWorkers : public WorkerLauncher {
  public:
    void startMagnetWorker(RunLock, int, int) override {}
    void startOnlineWorker(RunLock, int) override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) qFatal("usage: clipboard_probe LINK");
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (!QTest::qWaitFor(ClipboardManagerRuns, 10000)) qFatal("no clipboard manager runs");
    testing::UrlSink handlers{"magnet"};  // no download manager here
    SteadyClock clock;
    auto* window =
        new MainWindow(clock, testing::OfflineSiteDefinitions(),
                       [](const WorkerContext&) { return std::make_unique<NoWorkers>(); });
    QObject::connect(window, &MainWindow::closed, [] { EndProgram(); });
    ResultList& list = window->controller().magnetList();
    list.SetCell(list.AppendRow("1"), kMagnetLink, argv[1]);
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) qFatal("the window did not appear");
    auto* view = testing::FindControl<QTreeView>(window, "超级列表框1");
    if (!QTest::qWaitFor([view] { return view->model()->rowCount() == 1; })) qFatal("no row");
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       view->visualRect(view->model()->index(0, 0)).center());
    window->close();
    qFatal("closing the window did not end the program");
}
