// Draws the main window on each tab, and the sponsor window, into PNG files
// (scripts/screenshot runs it under Xvfb), so the layout can be looked at.

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/main_window.h"
#include "app/sponsor_window.h"
#include "run_fakes.h"
#include "text/codepage.h"

namespace {

void FillSampleRows(sirelo::SearchController& controller) {
    using namespace sirelo;
    ResultList& magnet = controller.magnetList();
    for (int i = 0; i < 30; ++i) {
        const int row = magnet.AppendRow(std::to_string(i + 1));
        magnet.SetCell(row, kMagnetName,
                       Utf8ToGbk("示例电影 第" + std::to_string(i + 1) + "部 1080p"));
        magnet.SetCell(row, kMagnetLink,
                       "magnet:?xt=urn:btih:" + std::to_string(1000000 + i) + "ABCDEF0123456789");
        magnet.SetCell(row, kMagnetSite, "Btrabbit");
        magnet.SetCell(row, kMagnetSize, "1.4 GB");
        magnet.SetCell(row, kMagnetHeat, std::to_string(100 - i));
        magnet.SetCell(row, kMagnetCreated, "2019-02-24");
    }
    ResultList& online = controller.onlineList();
    for (int i = 0; i < 3; ++i) {
        const int row = online.AppendRow(std::to_string(i + 1));
        online.SetCell(row, kOnlineVideoName, Utf8ToGbk("示例电影"));
        online.SetCell(row, kOnlineInfo, Utf8ToGbk("第" + std::to_string(i + 1) + "集"));
        online.SetCell(row, kOnlineSite, "7DDS");
        online.SetCell(row, kOnlinePageAddress, "http://127.0.0.1/play/" + std::to_string(i));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    sirelo::testing::Journal journal;
    sirelo::testing::FakeClock clock;
    sirelo::MainWindow window(clock, sirelo::SiteAddresses{}, [&](const sirelo::WorkerContext&) {
        return std::make_unique<sirelo::testing::FakeLauncher>(journal, nullptr);
    });
    window.show();
    FillSampleRows(window.controller());
    window.controller().updateStatusBar();

    QTimer::singleShot(300, [&] {
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("选择夹1"));
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            app.processEvents();
            const QString file = out + QStringLiteral("/window-tab%1.png").arg(tab);
            if (!window.grab().save(file))
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        }
        sirelo::SponsorWindow sponsor(&window);
        sponsor.show();
        app.processEvents();
        sponsor.grab().save(out + QStringLiteral("/sponsor-window.png"));
        app.quit();
    });
    return app.exec();
}
