// Draws the main window into PNG files after a real search against the fixture
// sites (scripts/screenshot runs it under Xvfb): each tab, then the sponsor
// window. With --readme FILE the 磁力链接 tab with its rows goes to FILE too,
// narrowed by its filter bar, with the search history offered under the box.

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "app/detached_thread.h"
#include "app/filter_bar.h"
#include "app/main_window.h"
#include "app/run_ports.h"
#include "app/site_worker_launcher.h"
#include "app/sponsor_window.h"
#include "config/app_config.h"
#include "config/search_history.h"
#include "fixture_sites.h"
#include "sitedefs/program_definitions.h"

namespace {

using namespace std::chrono_literals;

// A film the fixture sites answer on every site.
const char* const kFilm = "英雄";

// Runs the window thread's events until `done` holds; false after `timeout`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Lets the updates posted by the last threads reach the window.
void Settle() {
    WaitUntil([] { return false; }, 300ms);
}

template <typename Widget>
Widget* Child(const QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromUtf8(name));
    if (widget == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return widget;
}

bool Save(const QPixmap& picture, const QString& file) {
    // Quality 0: the smallest PNG.
    if (picture.save(file, "PNG", 0)) return true;
    std::fprintf(stderr, "window_screenshot: cannot write %s\n", qPrintable(file));
    return false;
}

// The README's picture: rows with 1080p in their names, and the names searched
// before that start with 英 offered under the search box. The history list is
// a window of its own, so the screen is taken where the main window lies.
QPixmap ReadmePicture(sirelo::MainWindow& window) {
    Child<QTabWidget>(window, "选择夹1")->setCurrentIndex(1);
    auto* bar = Child<sirelo::FilterBar>(window, "过滤条1");
    bar->open();
    bar->box()->setText(QStringLiteral("1080p"));
    auto* box = Child<QLineEdit>(window, "搜索名称");
    box->setFocus();
    box->clear();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("英"));
    QCoreApplication::sendEvent(box, &typed);
    Settle();
    return window.screen()->grabWindow(0, window.x(), window.y(), window.width(), window.height());
}

int Run(const QString& outDir, const QString& readmeFile) {
    if (!readmeFile.isEmpty()) {
        sirelo::AppConfig& config = sirelo::TheAppConfig();
        config.ensureConfigFolder();
        sirelo::WriteSearchHistory(config.folderFilePath("history.txt"),
                                   {"Batman", "英雄本色", "The Dark Knight", "英雄儿女"});
    }
    sirelo::fixtures::FixtureSites sites(SIRELO_FIXTURES_DIR);
    const sirelo::SteadyClock clock;
    // Workers may outlive the window.
    static const sirelo::SiteDefinitions served = sites.definitions();
    sirelo::MainWindow window(clock, served, sirelo::MakeSiteWorkerLauncher);
    window.show();

    // The board loader is the only thread so far.
    if (!WaitUntil([] { return sirelo::LiveThreadCount() == 0; }, 30s)) {
        std::fprintf(stderr, "window_screenshot: the board did not fill\n");
        return 1;
    }
    Child<QLineEdit>(window, "搜索名称")->setText(QString::fromUtf8(kFilm));
    Child<QPushButton>(window, "搜索_按钮")->click();
    const QAbstractItemModel* rows = Child<QTreeView>(window, "超级列表框1")->model();
    const bool idle = WaitUntil(
        [&] {
            return !window.controller().isDispatcherRunning() && sirelo::LiveThreadCount() == 0 &&
                   rows->rowCount() > 0;
        },
        60s);
    if (!idle) {
        std::fprintf(stderr, "window_screenshot: the search did not end with rows\n");
        return 1;
    }
    Settle();

    bool saved = true;
    auto* tabs = Child<QTabWidget>(window, "选择夹1");
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        Settle();
        const QPixmap picture = window.grab();
        saved &= Save(picture, outDir + QStringLiteral("/window-tab%1.png").arg(tab));
    }
    if (!readmeFile.isEmpty()) saved &= Save(ReadmePicture(window), readmeFile);
    sirelo::SponsorWindow sponsor(&window);
    sponsor.show();
    Settle();
    saved &= Save(sponsor.grab(), outDir + QStringLiteral("/sponsor-window.png"));
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString outDir = QDir::currentPath();
    QString readmeFile;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--readme") && i + 1 < args.size()) {
            readmeFile = args[++i];
        } else if (!args[i].startsWith(u'-')) {
            outDir = args[i];
        } else {
            std::fprintf(stderr, "usage: window_screenshot [OUT_DIR] [--readme FILE]\n");
            return 2;
        }
    }
    try {
        return Run(outDir, readmeFile);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_screenshot: %s\n", error.what());
        return 1;
    }
}
