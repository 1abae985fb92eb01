// The program as the user meets it: the real main window with the program's
// launcher, workers and HTTP layer, pointed at the fixture sites through
// [站点地址] of Configuration.ini in a throw-away configuration folder, and
// driven through its controls.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>

#include "app/detached_thread.h"
#include "app/main_window.h"
#include "app/site_worker_launcher.h"
#include "config/app_config.h"
#include "config/profile_text.h"
#include "e2e_support.h"
#include "fixture_sites.h"
#include "sitedefs/definition_layers.h"
#include "sitedefs/definitions_loader.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"
#include "sites/magnet_site.h"
#include "text/codepage.h"
#include "window_test_support.h"

namespace sirelo {
namespace {

using namespace std::chrono_literals;

// The program's launcher, with a look at each magnet worker as it starts.
class WatchedLauncher : public WorkerLauncher {
  public:
    using Watch = std::function<void(int site, int page)>;
    WatchedLauncher(std::unique_ptr<WorkerLauncher> launcher, const Watch& watch)
        : launcher_(std::move(launcher)), watch_(watch) {}
    void startMagnetWorker(RunLock lock, int siteIndex, int page) override {
        if (watch_) watch_(siteIndex, page);
        launcher_->startMagnetWorker(std::move(lock), siteIndex, page);
    }
    void startOnlineWorker(RunLock lock, int siteIndex) override {
        launcher_->startOnlineWorker(std::move(lock), siteIndex);
    }

  private:
    std::unique_ptr<WorkerLauncher> launcher_;
    const Watch& watch_;
};

// Keys for Latin letters; other characters arrive as an input method commits them.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

std::string Gbk(const QString& text) {
    return Utf8ToGbk(text.toStdString());
}

// The settings every search here starts from; ZZS takes part only when the file says so.
QString SoftwareSettings(int pages, int intervalMs, bool filterLinks = true) {
    return QStringLiteral(
               "[软件设置]\r\n搜索页数=%1\r\n间隔时间=%2\r\n过滤链接=%3\r\n"
               "[磁力站点]\r\nZZS=真\r\n")
        .arg(pages)
        .arg(intervalMs)
        .arg(filterLinks ? QStringLiteral("真") : QStringLiteral("假"));
}

}  // namespace

class WindowEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void startupFillsTheBoard();
    void aSearchBringsRowsFromEverySite();
    void settingsChangedDuringARunAreInTheFile();
    void pauseContinueAndStopDuringARealRun();
    void aSecondSearchStartsClean();
    void sitesAddedByTheUsersFileListTheirRows();
    void lateAnswersOfAnEarlierSearchAreDropped();
    void aHostileSiteAmongHealthyOnes_data();
    void aHostileSiteAmongHealthyOnes();

  private:
    template <typename T = QWidget>
    T* child(const char* name) const {
        return testing::FindControl<T>(window_.get(), name);
    }
    // Writes Configuration.ini with [站点地址] at `sites`' addresses, then builds
    // the window as the program does (the definitions' layers, the addresses)
    // and waits until the board is filled and its loader has ended.
    bool openWindow(const QString& settings, const SiteDefinitions& sites);
    QString configFolder() const { return configHome_->path() + QStringLiteral("/配置/Sirelo"); }
    // A run button. The second click of a double-click on them does not act, so
    // the test's clicks keep the double-click interval apart.
    void click(const char* button) {
        if (lastClick_.isValid()) {
            QTest::qWait(static_cast<int>(std::max<qint64>(
                0, QApplication::doubleClickInterval() - lastClick_.elapsed() + 10)));
        }
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        lastClick_.start();
    }
    QElapsedTimer lastClick_;
    void selectTab(int index);
    void typeSearch(const QString& keyword);
    // Idle, and every thread of the program ended.
    bool waitForRunEnd(int timeoutMs = 30000);
    std::string configFileText() const;
    QSet<QString> column(const char* list, int column) const;
    // Rows per 来源站点 as the two lists show them.
    e2e::RowsPerSite rowsPerSite() const;

    std::unique_ptr<fixtures::FixtureSites> sites_;
    e2e::RowsPerSite healthy_;  // a search of every healthy site, links not filtered
    std::unique_ptr<QTemporaryDir> configHome_;
    SteadyClock clock_;
    WatchedLauncher::Watch watch_;
    std::unique_ptr<SiteDefinitions> definitions_;  // the window's, addresses applied
    std::unique_ptr<MainWindow> window_;
    testing::UrlSink urls_{"magnet", "http", "https"};
};

void WindowEndToEndTest::initTestCase() {
    SetHttpLimits(e2e::TestHttpLimits());
    sites_ = std::make_unique<fixtures::FixtureSites>(SIRELO_FIXTURES_DIR);
    // Batman goes on to page 20 on three sites, so that a long run has a page
    // to ask for at every step.
    const char* const secondPages[] = {nullptr, "zzs/batman-2.html", "dss/batman-2.html",
                                       "btbook/batman-2.html"};
    for (int site = kZzs; site <= kBtbook; ++site) {
        const MagnetSite& descriptor = BuiltInSiteDefinitions().magnet[site];
        for (int page = 6; page <= 20; ++page) {
            sites_->addRoute({descriptor.label, "GET",
                              MagnetPageUrl(descriptor, "", "Batman", page), "",
                              secondPages[site]});
        }
    }
    const e2e::SearchFigures healthy = e2e::SearchWithoutWindow(sites_->definitions(), {});
    QVERIFY(healthy.threadsEnded);
    healthy_ = healthy.rows;
}

void WindowEndToEndTest::cleanupTestCase() {
    sites_.reset();
}

void WindowEndToEndTest::init() {
    configHome_ = std::make_unique<QTemporaryDir>();
    QVERIFY(configHome_->isValid());
    qputenv("XDG_CONFIG_HOME", configHome_->path().toLocal8Bit());
    sites_->clearRequests();
    urls_.opened.clear();
    QGuiApplication::clipboard()->clear();
}

void WindowEndToEndTest::cleanup() {
    if (window_) {
        if (window_->controller().isDispatcherRunning()) window_->controller().stopRun();
        if (!WaitForNoLiveThreads(60s)) {
            // Workers still hold the window's run state: keep it rather than pull it away.
            static_cast<void>(window_.release());
            static_cast<void>(definitions_.release());
            QFAIL("threads still running after the test");
        }
        QCoreApplication::processEvents();
        window_.reset();
    }
    watch_ = nullptr;
    configHome_.reset();
}

bool WindowEndToEndTest::openWindow(const QString& settings, const SiteDefinitions& sites) {
    const QString folder = configFolder();
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Configuration.ini"));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const std::string bytes =
        Utf8ToGbk(fixtures::FixtureSites::addressSection(sites)) + Gbk(settings);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();

    definitions_ =
        std::make_unique<SiteDefinitions>(LoadDefinitionLayers(TheAppConfig()).definitions);
    ApplySiteAddresses(TheAppConfig(), *definitions_);
    window_ =
        std::make_unique<MainWindow>(clock_, *definitions_, [this](const WorkerContext& context) {
            return std::make_unique<WatchedLauncher>(MakeSiteWorkerLauncher(context), watch_);
        });
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) return false;
    // The last update of the tenth film.
    return QTest::qWaitFor(
        [this] {
            return child<QLabel>("电影主演11")->text() == QStringLiteral("何小满") &&
                   testing::ThreadsEndedAndTheirPostsDelivered();
        },
        20000);
}

void WindowEndToEndTest::selectTab(int index) {
    QTabBar* bar = child<QTabWidget>("选择夹1")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void WindowEndToEndTest::typeSearch(const QString& keyword) {
    auto* box = child<QLineEdit>("搜索名称");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    TypeText(box, keyword);
}

bool WindowEndToEndTest::waitForRunEnd(int timeoutMs) {
    return QTest::qWaitFor(
        [this] {
            return child("搜索_按钮")->isVisible() &&
                   !window_->controller().isDispatcherRunning() &&
                   testing::ThreadsEndedAndTheirPostsDelivered();
        },
        timeoutMs);
}

std::string WindowEndToEndTest::configFileText() const {
    QFile file(configHome_->path() + QStringLiteral("/配置/Sirelo/Configuration.ini"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

QSet<QString> WindowEndToEndTest::column(const char* list, int column) const {
    QSet<QString> cells;
    const QAbstractItemModel* model = child<QTreeView>(list)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        cells.insert(model->index(row, column).data().toString());
    return cells;
}

e2e::RowsPerSite WindowEndToEndTest::rowsPerSite() const {
    e2e::RowsPerSite rows;
    const std::pair<const char*, int> lists[] = {{"超级列表框1", kMagnetSite},
                                                 {"超级列表框2", kOnlineSite}};
    for (const auto& [list, siteColumn] : lists) {
        const QAbstractItemModel* model = child<QTreeView>(list)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            ++rows[model->index(row, siteColumn).data().toString().toStdString()];
    }
    return rows;
}

void WindowEndToEndTest::startupFillsTheBoard() {
    QVERIFY(openWindow(SoftwareSettings(3, 100), sites_->definitions()));
    QCOMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 0);
    QCOMPARE(child<QLabel>("电影名称1")->text(), QStringLiteral("星河彼岸"));
    QCOMPARE(child<QLabel>("网络评分2")->text(), QStringLiteral("8.7"));
    QCOMPARE(child<QLabel>("图片框1")->pixmap().size(), QSize(160, 220));
    QCOMPARE(sites_->requestCount("院线热映", "/board"), 1u);
    // The board page and the posters of films 1 to 10.
    QCOMPARE(sites_->requestCount("院线热映"), 11u);

    QTest::mousePress(child("图片框2"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>("搜索名称")->text(), QStringLiteral("长夜将明"));
}

void WindowEndToEndTest::aSearchBringsRowsFromEverySite() {
    QVERIFY(openWindow(SoftwareSettings(3, 100), sites_->definitions()));
    typeSearch(QStringLiteral("英雄"));
    QCOMPARE(child<QLineEdit>("搜索名称")->text(), QStringLiteral("英雄"));
    click("搜索_按钮");
    QVERIFY(waitForRunEnd());
    QCOMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 1);

    SearchController& controller = window_->controller();
    auto* magnetList = child<QTreeView>("超级列表框1");
    auto* onlineList = child<QTreeView>("超级列表框2");
    // Twenty items on the first pages, 20 - 1 without the keyword; 7 + 3 playable.
    QTRY_COMPARE(magnetList->model()->rowCount(), 19);
    QTRY_COMPARE(onlineList->model()->rowCount(), 10);
    QCOMPARE(controller.magnetList().RowCount(), 19);
    QCOMPARE(column("超级列表框1", kMagnetSite),
             (QSet<QString>{"Btrabbit", "ZZS", "DSS", "Btbook"}));
    QCOMPARE(column("超级列表框2", kOnlineSite),
             (QSet<QString>{"7DDS", QStringLiteral("乐享电影网")}));
    for (int site = 0; site < kMagnetSiteCount; ++site)
        QCOMPARE(sites_->requestCount(BuiltInSiteDefinitions().magnet[site].label), 3u);

    QTRY_COMPARE(window_->statusPaneText(0), QStringLiteral(" 磁力链接： 19  条"));
    QCOMPARE(window_->statusPaneText(1), QStringLiteral(" 在线播放： 10  条"));
    QCOMPARE(controller.run().filteredLinks, 0);
    QCOMPARE(window_->statusPaneText(2), QStringLiteral(" 过滤链接： 0  条"));
    QCOMPARE(controller.run().filteredItems, 1);
    QCOMPARE(window_->statusPaneText(3), QStringLiteral(" 过滤资源： 1  条"));
    QVERIFY2(QRegularExpression(QStringLiteral("^ 搜索耗时： \\d+(\\.\\d{1,2})?  秒$"))
                 .match(window_->statusPaneText(4))
                 .hasMatch(),
             qPrintable(window_->statusPaneText(4)));

    // Each site's outcome in words: the panes' tooltips, the site checkboxes, the board tab.
    const QString magnetTip = window_->statusPaneToolTip(0);
    for (const char* line : {"Btrabbit：第1–2页 共", "ZZS：第1–2页 共", "DSS：第1–2页 共",
                             "Btbook：第1–2页 共", "第3页无结果，停止翻页"})
        QVERIFY2(magnetTip.contains(QString::fromUtf8(line)), qPrintable(magnetTip));
    QVERIFY2(
        window_->statusPaneToolTip(1).contains(QStringLiteral("7DDS：3个结果，3个详情页 共7条")),
        qPrintable(window_->statusPaneToolTip(1)));
    QVERIFY(child<QCheckBox>("DSS_选择框")->toolTip().contains(QStringLiteral("DSS：第1–2页")));
    QVERIFY(
        child<QCheckBox>("乐享电影_选择框")->toolTip().contains(QStringLiteral("乐享电影网：")));
    QCOMPARE(
        child<QTabWidget>("选择夹1")->tabToolTip(0).contains(QStringLiteral("院线热映：10部影片")),
        true);

    // A row with a real magnet link: double-clicked, it goes to the clipboard and on
    // to the magnet handler.
    int row = 0;
    while (!controller.magnetList().CellText(row, kMagnetLink).starts_with("magnet:?xt=urn:btih:"))
        QVERIFY(++row < controller.magnetList().RowCount());
    const QString link = magnetList->model()->index(row, kMagnetLink).data().toString();
    const QModelIndex index = magnetList->model()->index(row, 0);
    magnetList->scrollTo(index);
    const QPoint centre = magnetList->visualRect(index).center();
    QTest::mouseClick(magnetList->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(magnetList->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(QGuiApplication::clipboard()->text(), link);
    QCOMPARE(urls_.opened, QList<QUrl>{QUrl(link)});
}

void WindowEndToEndTest::settingsChangedDuringARunAreInTheFile() {
    QVERIFY(openWindow(SoftwareSettings(20, 300), sites_->definitions()));
    typeSearch(QStringLiteral("英雄"));
    click("搜索_按钮");
    QTRY_COMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 1);
    QTRY_VERIFY(child("停止_按钮")->isVisible());

    selectTab(3);
    QTRY_COMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 3);
    auto* exact = child<QCheckBox>("精准搜索_选择框");
    QVERIFY(exact->isChecked());
    QTest::mouseClick(exact, Qt::LeftButton);
    QVERIFY(!exact->isChecked());
    auto* threads = child<QLineEdit>("线程数量_编辑框");
    QTest::mouseClick(threads, Qt::LeftButton);
    QTest::keyClick(threads, Qt::Key_A, Qt::ControlModifier);
    TypeText(threads, QStringLiteral("7"));
    QCOMPARE(threads->text(), QStringLiteral("7"));
    QVERIFY(window_->controller().isDispatcherRunning());

    const std::string file = configFileText();
    QCOMPARE(GbkToUtf8(ReadProfileValue(file, Utf8ToGbk("软件设置"), Utf8ToGbk("精准搜索"))),
             std::string("假"));
    QCOMPARE(ReadProfileValue(file, Utf8ToGbk("软件设置"), Utf8ToGbk("线程数量")),
             std::string("7"));
    // What was not touched is as it was, the site addresses included.
    QCOMPARE(ReadProfileValue(file, Utf8ToGbk("软件设置"), Utf8ToGbk("搜索页数")),
             std::string("20"));
    QCOMPARE(ReadProfileValue(file, Utf8ToGbk("站点地址"), "DSS"), sites_->baseAddress("DSS"));
    QVERIFY(!window_->controller().settings().exactSearch);
    QCOMPARE(window_->controller().settings().threadCount.load(), 7);
    click("停止_按钮");
    QVERIFY(waitForRunEnd());
}

void WindowEndToEndTest::pauseContinueAndStopDuringARealRun() {
    QVERIFY(openWindow(SoftwareSettings(20, 800), sites_->definitions()));
    SearchController& controller = window_->controller();
    // DSS has a page to give at every step, so its requests count the pages dispatched.
    auto dssPages = [this] { return static_cast<int>(sites_->requestCount("DSS")); };
    typeSearch(QStringLiteral("Batman"));
    click("搜索_按钮");
    QTRY_VERIFY_WITH_TIMEOUT(dssPages() >= 2, 10000);
    QTRY_VERIFY(child("暂停_按钮")->isVisible() && child("暂停_按钮")->isEnabled());

    click("暂停_按钮");
    QTRY_VERIFY(child("继续_按钮")->isVisible());
    QVERIFY(child("暂停_按钮")->isHidden());
    QVERIFY(child("停止_按钮")->isVisible());
    // The workers of the pages already out end; the held dispatcher stays.
    QTRY_VERIFY_WITH_TIMEOUT(LiveThreadCount() == 1, 10000);
    const int held = controller.run().pageCounter;
    QCOMPARE(dssPages(), held);
    QTest::qWait(1600);  // two intervals
    QCOMPARE(controller.run().pageCounter.load(), held);
    QCOMPARE(dssPages(), held);
    QCOMPARE(static_cast<int>(sites_->requestCount("ZZS")), held);

    click("继续_按钮");
    QTRY_VERIFY(child("暂停_按钮")->isVisible());
    QVERIFY(child("继续_按钮")->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(dssPages() > held, 10000);

    click("停止_按钮");
    QTRY_VERIFY(child("搜索_按钮")->isVisible());
    QVERIFY(child("停止_按钮")->isHidden());
    QVERIFY(child("继续_按钮")->isHidden());
    QVERIFY(child("暂停_按钮")->isVisible() && !child("暂停_按钮")->isEnabled());
    QVERIFY(waitForRunEnd());
    const int stopped = controller.run().pageCounter;
    QVERIFY(stopped > held && stopped < 20);
    QCOMPARE(dssPages(), stopped);
    QTest::qWait(1600);
    QCOMPARE(dssPages(), stopped);
    QCOMPARE(controller.run().pageCounter.load(), stopped);
    // The online search never started.
    QCOMPARE(sites_->requestCount("7DDS"), 0u);
    QCOMPARE(sites_->requestCount("乐享电影网"), 0u);
}

// The worked example of docs/sites.md as the user's sites.toml: two magnet
// sites and an online one, asked at their [站点地址] addresses, their rows
// under their labels, each asked only while its checkbox is ticked.
void WindowEndToEndTest::sitesAddedByTheUsersFileListTheirRows() {
    const std::string file = e2e::ReadFixture("added/sites.toml");
    const LoadedDefinitions added =
        ApplyDefinitions(BuiltInSiteDefinitions(), file, "sites.toml", DefinitionsOrigin::User);
    QVERIFY(added.problems.empty());
    QDir().mkpath(configFolder());
    QFile userFile(configFolder() + QStringLiteral("/sites.toml"));
    QVERIFY(userFile.open(QIODevice::WriteOnly));
    userFile.write(file.data(), static_cast<qint64>(file.size()));
    userFile.close();
    QVERIFY(openWindow(SoftwareSettings(3, 100), sites_->definitions(added.definitions)));
    auto* rows = child<QCheckBox>("Rows_选择框");
    auto* gbk = child<QCheckBox>("gbk-site_选择框");
    QVERIFY(rows->isChecked() && !gbk->isChecked() &&
            child<QCheckBox>("film-1_选择框")->isChecked());

    typeSearch(QStringLiteral("英雄"));
    click("搜索_按钮");
    QVERIFY(waitForRunEnd());
    e2e::RowsPerSite shown = rowsPerSite();
    QCOMPARE(shown["表格站"], 3);
    QCOMPARE(shown["影院一号"], 3);
    QCOMPARE(shown.count("国标站"), 0u);
    QCOMPARE(sites_->requestCount("gbk-site"), 0u);
    QCOMPARE(sites_->requestCount("Rows"), 2u);  // its second page is empty
    QVERIFY(column("超级列表框1", kMagnetName).contains(QStringLiteral("英雄本色 & 续集")));
    QVERIFY(column("超级列表框2", kOnlinePageAddress)
                .contains(QString::fromStdString(sites_->baseAddress("film-1")) +
                          QStringLiteral("/play/1-2.html")));
    // Their outcomes in words, as the built-in sites'.
    QVERIFY2(rows->toolTip().contains(QStringLiteral("表格站：第1页")),
             qPrintable(rows->toolTip()));
    QVERIFY(window_->statusPaneToolTip(0).contains(QStringLiteral("表格站：第1页")));
    QVERIFY(window_->statusPaneToolTip(1).contains(QStringLiteral("影院一号：2个结果")));

    selectTab(3);
    QTest::mouseClick(gbk, Qt::LeftButton);
    QTest::mouseClick(rows, Qt::LeftButton);
    sites_->clearRequests();
    click("搜索_按钮");
    QVERIFY(waitForRunEnd());
    shown = rowsPerSite();
    QCOMPARE(shown["国标站"], 2);
    QCOMPARE(shown.count("表格站"), 0u);
    QCOMPARE(sites_->requestCount("Rows"), 0u);
    const std::string config = configFileText();
    QCOMPARE(GbkToUtf8(ReadProfileValue(config, Utf8ToGbk("磁力站点"), "gbk-site")),
             std::string("真"));
    QCOMPARE(GbkToUtf8(ReadProfileValue(config, Utf8ToGbk("磁力站点"), "Rows")), std::string("假"));
}

void WindowEndToEndTest::aSecondSearchStartsClean() {
    QVERIFY(openWindow(SoftwareSettings(3, 100), sites_->definitions()));
    typeSearch(QStringLiteral("英雄"));
    click("搜索_按钮");
    QVERIFY(waitForRunEnd());
    QTRY_COMPARE(child<QTreeView>("超级列表框1")->model()->rowCount(), 19);
    QTRY_COMPARE(child<QTreeView>("超级列表框2")->model()->rowCount(), 10);

    SearchController& controller = window_->controller();
    std::mutex mutex;
    int firstPage = 0;
    QString leftOver;
    watch_ = [&](int, int page) {
        std::lock_guard hold(mutex);
        if (firstPage != 0) return;
        firstPage = page;
        leftOver = QStringLiteral("%1 %2 %3 %4")
                       .arg(controller.magnetList().RowCount())
                       .arg(controller.onlineList().RowCount())
                       .arg(controller.run().filteredLinks)
                       .arg(controller.run().filteredItems);
    };
    selectTab(5);
    QTRY_COMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 5);
    typeSearch(QStringLiteral("Batman"));
    click("搜索_按钮");
    QTRY_COMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 1);
    QVERIFY(waitForRunEnd());
    {
        std::lock_guard hold(mutex);
        QCOMPARE(firstPage, 1);
        QCOMPARE(leftOver, QStringLiteral("0 0 0 0"));
    }
    QCOMPARE(controller.run().keyword(), std::string("Batman"));
    // Btrabbit's four, less a film without the keyword, and one row from each other site.
    const int rows = controller.magnetList().RowCount();
    QCOMPARE(rows, 9);
    QTRY_COMPARE(child<QTreeView>("超级列表框1")->model()->rowCount(), rows);
    QTRY_COMPARE(child<QTreeView>("超级列表框2")->model()->rowCount(), 0);
    QSet<QString> ordinals;
    for (int i = 1; i <= rows; ++i)
        ordinals.insert(QString::number(i));
    QCOMPARE(column("超级列表框1", kMagnetOrdinal), ordinals);
    QTRY_COMPARE(window_->statusPaneText(0), QStringLiteral(" 磁力链接： 9  条"));
    QCOMPARE(window_->statusPaneText(1), QStringLiteral(" 在线播放： 0  条"));
}

// Btbook answers seconds late; a second search starts while the first one's
// Btbook requests are open. Their answers reach nothing of the second search.
void WindowEndToEndTest::lateAnswersOfAnEarlierSearchAreDropped() {
    e2e::LateSite late("Btbook", 4s);
    // Late, not stalled: the answers come after the first search is idle.
    HttpLimits patient = e2e::TestHttpLimits();
    patient.stallTimeoutMs = 15000;
    SetHttpLimits(patient);
    const std::unique_ptr<void, void (*)(void*)> restore(
        &patient, [](void*) { SetHttpLimits(e2e::TestHttpLimits()); });
    QVERIFY(openWindow(SoftwareSettings(3, 100),
                       e2e::WithSiteAt(sites_->definitions(), "Btbook", late.baseAddress())));
    SearchController& controller = window_->controller();
    typeSearch(QStringLiteral("英雄"));
    click("搜索_按钮");
    QTRY_VERIFY_WITH_TIMEOUT(child("搜索_按钮")->isVisible() && !controller.isDispatcherRunning(),
                             10000);
    QTRY_COMPARE(late.requestCount(), 3u);
    QVERIFY(LiveThreadCount() > 0);  // the first search's Btbook workers wait for their answers

    typeSearch(QStringLiteral("Batman"));
    click("搜索_按钮");
    QVERIFY(waitForRunEnd(60000));
    QCOMPARE(late.requestCount(), 6u);

    // The second search's rows alone, as in a search of its own.
    QCOMPARE(controller.magnetList().RowCount(), 9);
    QTRY_COMPARE(child<QTreeView>("超级列表框1")->model()->rowCount(), 9);
    QCOMPARE(controller.onlineList().RowCount(), 0);
    for (const QString& name : column("超级列表框1", kMagnetName))
        QVERIFY2(name.contains(QStringLiteral("Batman")), qPrintable(name));
    QTRY_COMPARE(window_->statusPaneText(0), QStringLiteral(" 磁力链接： 9  条"));
    QCOMPARE(window_->statusPaneText(1), QStringLiteral(" 在线播放： 0  条"));
    QCOMPARE(window_->statusPaneText(2),
             QStringLiteral(" 过滤链接： %1  条").arg(controller.run().filteredLinks.load()));
    QCOMPARE(window_->statusPaneText(3),
             QStringLiteral(" 过滤资源： %1  条").arg(controller.run().filteredItems.load()));
    // Btbook's outcome counts the second search's three pages, not the first's.
    const RunOutcomeSnapshot outcomes = controller.run().outcomes.snapshot();
    QCOMPARE(outcomes.magnet[kBtbook].requests, 3);
    const OutcomeTips tips = RunOutcomeTips(outcomes, BuiltInSiteDefinitions());
    QCOMPARE(window_->statusPaneToolTip(0).contains(
                 QString::fromStdString(GbkToUtf8(tips.magnetSites[kBtbook]))),
             true);
    QVERIFY(child<QCheckBox>("Btbook_选择框")
                ->toolTip()
                .contains(QString::fromStdString(GbkToUtf8(tips.magnetSites[kBtbook]))));
}

void WindowEndToEndTest::aHostileSiteAmongHealthyOnes_data() {
    QTest::addColumn<int>("mode");
    for (e2e::HostileMode mode : e2e::kHostileModes)
        QTest::newRow(e2e::ModeName(mode)) << static_cast<int>(mode);
}

// Btbook misbehaves; the core tests put other sites in its place.
void WindowEndToEndTest::aHostileSiteAmongHealthyOnes() {
    QFETCH(int, mode);
    const auto hostileMode = static_cast<e2e::HostileMode>(mode);
    e2e::HostileSite hostile(hostileMode, "Btbook");
    QVERIFY(openWindow(SoftwareSettings(3, 100, false),
                       e2e::WithSiteAt(sites_->definitions(), "Btbook", hostile.baseAddress())));
    typeSearch(QStringLiteral("英雄"));
    QElapsedTimer clock;
    clock.start();
    click("搜索_按钮");
    QVERIFY(QTest::qWaitFor(
        [this] {
            return !window_->controller().isDispatcherRunning() && child("搜索_按钮")->isVisible();
        },
        30000));
    const qint64 toIdle = clock.elapsed();
    QVERIFY(waitForRunEnd(60000));
    const qint64 toLastThread = clock.elapsed();
    QTRY_COMPARE(child<QTreeView>("超级列表框1")->model()->rowCount(),
                 window_->controller().magnetList().RowCount());
    QTRY_COMPARE(child<QTreeView>("超级列表框2")->model()->rowCount(),
                 window_->controller().onlineList().RowCount());
    const e2e::RowsPerSite rows = rowsPerSite();
    std::cout << "[hostile-window] site=Btbook mode=" << e2e::ModeName(hostileMode)
              << " idle_ms=" << toIdle << " last_thread_ms=" << toLastThread
              << " rows=" << e2e::Describe(rows) << std::endl;

    QVERIFY(hostile.requestCount() > 0);
    QCOMPARE(sites_->requestCount("Btbook"), 0u);
    for (const auto& [site, count] : healthy_) {
        const int delivered = rows.count(site) ? rows.at(site) : 0;
        if (site != "Btbook") {
            QCOMPARE(delivered, count);
        } else {
            QCOMPARE(delivered, hostileMode == e2e::HostileMode::Trickles ? count : 0);
        }
    }
}

}  // namespace sirelo

QTEST_MAIN(sirelo::WindowEndToEndTest)
#include "window_test.moc"
