// The main window offscreen, driven as the user drives it, with fake workers.

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyleHints>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <QUrl>
#include <memory>
#include <thread>

#include "app/detached_thread.h"
#include "app/main_window.h"
#include "app/sponsor_window.h"
#include "app/toolkit_texts.h"
#include "app/window_texts.h"
#include "run_fakes.h"
#include "sitedefs/program_definitions.h"
#include "support/loopback_server.h"
#include "support/offline_definitions.h"
#include "text/codepage.h"
#include "widgets/shown_text.h"
#include "window_test_support.h"

namespace sirelo {
namespace {

using namespace std::chrono_literals;
using testing::WorkerStart;

// The visible changes of the run buttons, in order.
class ButtonSteps : public QObject {
  public:
    QStringList steps;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QString name = watched->objectName().section(u'_', 0, 0);
        switch (event->type()) {
            case QEvent::Show:
                steps << name + " shown";
                break;
            case QEvent::Hide:
                steps << name + " hidden";
                break;
            case QEvent::EnabledChange:
                steps << name + (static_cast<QWidget*>(watched)->isEnabled() ? " enabled"
                                                                             : " disabled");
                break;
            default:
                break;
        }
        return false;
    }
};

QString Utf8(const std::string& gbk) {
    return QString::fromStdString(GbkToUtf8(gbk));
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startupGeometryFlagsAndTexts();
    void tabContentsAndTexts();
    void heightStaysAt525();
    void emptyBoxShowsTheMessageAndStartsNothing();
    void runDispatchesThePagesThenReturnsToIdle();
    void pauseContinueAndStopWhilePaused();
    void stopInTheMiddleOfAWait();
    void withNoSiteCheckedTheOnlineSearchStillRuns();
    void secondSearchClearsTheListsFirst();
    void statusPanesAfterARefresh();
    void aRejectedSitesFileOpensThePaneAndSiteTooltips();
    void rowsReachTheViewInOneBatch();
    void doubleClickWithNoRowChangesNothing();
    void onlyALeftDoubleClickActsOnARow();
    void doubleClickAndMenuCopyAndHandOverTheLink();
    void cellsThatAreNoMagnetLinkAreCopiedButNotHandedOver();
    void hugeCellsAreShownCutAndCopiedWhole();
    void onlineRowsOpenOnlyAddressesOnTheirSitesHost();
    void sponsorWindowIsModal();
    void closingTheWindowEndsTheProgram();
    void editBoxMenusAreChinese();
    void theSecondClickOfADoubleClickDoesNotAct();
    void headerClicksSortReverseAndRestoreTheOrder();
    void cutCellsShowTheirWholeTextAsTooltip();
    void keyboardActsOnTheSelectedRow();
    void theBoardLoaderIsACountedThread();
    void historyFilterSelectionAndExport();

  private:
    template <typename T = QWidget>
    T* child(const char* name) const {
        return testing::FindControl<T>(window_.get(), name);
    }
    void setNumber(const char* box, const char* text) { child<QLineEdit>(box)->setText(text); }
    void setSites(bool magnet, bool online);
    void startSearch(const QString& keyword);
    void clickRunButton(const char* name);
    bool waitForRunEnd(int timeoutMs = 10000);
    qint64 msSinceClick(const WorkerStart& start) const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(start.at - clicked_).count();
    }
    QStringList startNames() const;
    void addMagnetRow(const std::string& link);
    void addOnlineRow(const std::string& address);
    QPoint rowCentre(QTreeView* list, int row) const {
        return list->visualRect(list->model()->index(row, 0)).center();
    }
    void requestContextMenu(QTreeView* list, QPoint at);
    // `sites` outlive the window.
    std::unique_ptr<MainWindow> makeWindow(const SiteDefinitions& sites);

    QTemporaryDir configHome_;
    SiteDefinitions sites_ = testing::WithoutAddresses();
    testing::Journal journal_;
    testing::FakeClock clock_;
    std::function<void(const WorkerStart&)> onStart_;
    std::unique_ptr<MainWindow> window_;
    testing::Time::time_point clicked_;
    QElapsedTimer lastRunClick_;
    testing::UrlSink urls_{"magnet", "http", "https", "file", "javascript"};
};

void MainWindowTest::initTestCase() {
    QVERIFY(InstallChineseToolkitTexts());
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(150);
    QVERIFY(configHome_.isValid());
    qputenv("XDG_CONFIG_HOME", configHome_.path().toLocal8Bit());
}

void MainWindowTest::init() {
    journal_.clear();
    onStart_ = nullptr;
    urls_.opened.clear();
    sites_.online[k7dds].base = "http://127.0.0.1/";
    window_ = makeWindow(sites_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    setNumber("搜索页数_编辑框", "3");
    setNumber("搜索间隔_编辑框", "100");
    setSites(true, true);
}

void MainWindowTest::cleanup() {
    if (window_->controller().isDispatcherRunning()) window_->controller().stopRun();
    QVERIFY(WaitForNoLiveThreads(10s));
    QCoreApplication::processEvents();
    window_.reset();
}

std::unique_ptr<MainWindow> MainWindowTest::makeWindow(const SiteDefinitions& sites) {
    return std::make_unique<MainWindow>(clock_, sites, [this](const WorkerContext&) {
        return std::make_unique<testing::FakeLauncher>(journal_, [this](const WorkerStart& start) {
            if (onStart_) onStart_(start);
        });
    });
}

void MainWindowTest::setSites(bool magnet, bool online) {
    for (const char* box : {"Btrabbit_选择框", "ZZS_选择框", "DSS_选择框", "Btbook_选择框"}) {
        child<QCheckBox>(box)->setChecked(magnet);
    }
    for (const char* box : {"手机看片_选择框", "乐享电影_选择框"}) {
        child<QCheckBox>(box)->setChecked(online);
    }
}

void MainWindowTest::startSearch(const QString& keyword) {
    child<QLineEdit>("搜索名称")->setText(keyword);
    clickRunButton("搜索_按钮");
}

// The second click of a double-click does not act, so a test's clicks keep
// the double-click interval apart.
void MainWindowTest::clickRunButton(const char* name) {
    if (lastRunClick_.isValid()) {
        QTest::qWait(static_cast<int>(std::max<qint64>(
            0, QApplication::doubleClickInterval() - lastRunClick_.elapsed() + 10)));
    }
    clicked_ = testing::Time::now();
    QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton);
    lastRunClick_.start();
}

bool MainWindowTest::waitForRunEnd(int timeoutMs) {
    return QTest::qWaitFor(
        [this] {
            return !window_->controller().isDispatcherRunning() &&
                   testing::ThreadsEndedAndTheirPostsDelivered();
        },
        timeoutMs);
}

QStringList MainWindowTest::startNames() const {
    QStringList names;
    for (const WorkerStart& start : journal_.starts()) {
        names << (start.magnet ? QStringLiteral("m%1p%2").arg(start.site).arg(start.page)
                               : QStringLiteral("o%1").arg(start.site));
    }
    return names;
}

void MainWindowTest::addMagnetRow(const std::string& link) {
    ResultList& list = window_->controller().magnetList();
    const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
    list.SetCell(row, kMagnetName, Utf8ToGbk("电影"));
    list.SetCell(row, kMagnetLink, link);
}

void MainWindowTest::addOnlineRow(const std::string& address) {
    ResultList& list = window_->controller().onlineList();
    const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
    list.SetCell(row, kOnlineSite, "7DDS");
    list.SetCell(row, kOnlinePageAddress, address);
}

void MainWindowTest::requestContextMenu(QTreeView* list, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
}

void MainWindowTest::startupGeometryFlagsAndTexts() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Korba Sirelo 1.1.4"));
    QVERIFY(!window_->windowIcon().isNull());
    QCOMPARE(window_->size(), QSize(1165, 525));
    QCOMPARE(window_->focusWidget(), child("搜索名称"));
    QCOMPARE(child("搜索名称")->geometry(), QRect(50, 40, 802, 35));
    QCOMPARE(child("标签1")->geometry(), QRect(851, 40, 130, 35));
    QCOMPARE(child("标签2")->geometry(), QRect(980, 40, 130, 35));
    for (const char* name : {"搜索_按钮", "停止_按钮"}) {
        QCOMPARE(child(name)->geometry(), QRect(852, 41, 128, 33));
    }
    for (const char* name : {"暂停_按钮", "继续_按钮"}) {
        QCOMPARE(child(name)->geometry(), QRect(981, 41, 128, 33));
    }
    QCOMPARE(child<QPushButton>("搜索_按钮")->text(), QStringLiteral("搜索"));
    QCOMPARE(child<QPushButton>("停止_按钮")->text(), QStringLiteral("停止"));
    QCOMPARE(child<QPushButton>("暂停_按钮")->text(), QStringLiteral("暂停"));
    QCOMPARE(child<QPushButton>("继续_按钮")->text(), QStringLiteral("继续"));
    QVERIFY(child("搜索_按钮")->isVisible());
    QVERIFY(child("停止_按钮")->isHidden());
    QVERIFY(child("暂停_按钮")->isVisible());
    QVERIFY(!child("暂停_按钮")->isEnabled());
    QVERIFY(child("继续_按钮")->isHidden());

    auto* tabs = child<QTabWidget>("选择夹1");
    QCOMPARE(tabs->geometry(), QRect(0, 110, 1288, 682));
    const QStringList captions{"院线热映", "磁力链接", "在线播放",
                               "设置中心", "打赏赞助", "更新日志"};
    QCOMPARE(tabs->count(), captions.size());
    for (int tab = 0; tab < tabs->count(); ++tab)
        QCOMPARE(tabs->tabText(tab), captions[tab]);

    auto* bar = child<QStatusBar>("状态条1");
    QCOMPARE(bar->geometry().bottom(), window_->height() - 1);
    const QStringList idle{" 磁力链接： 无", " 在线播放： 无", " 过滤链接： 无", " 过滤资源： 无",
                           " 搜索耗时： 无"};
    const QList<int> widths{232, 232, 232, 232, 231};
    const QList<QLabel*> panes = bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(panes.size(), 5);
    for (int pane = 0; pane < 5; ++pane) {
        QCOMPARE(window_->statusPaneText(pane), idle[pane]);
        QCOMPARE(panes[pane]->width(), widths[pane]);
    }

    struct ListColumns {
        const char* name;
        QStringList headers;
        QList<int> widths;
    };
    const ListColumns lists[] = {
        {"超级列表框1",
         {"ID", "资源名称", "磁力链接", "来源站点", "文件大小", "资源热度", "创建时间"},
         {50, 310, 310, 100, 100, 100, 100}},
        {"超级列表框2",
         {"ID", "视频名称", "数据信息", "来源站点", "网页地址"},
         {50, 200, 200, 200, 450}},
    };
    for (const ListColumns& columns : lists) {
        auto* list = child<QTreeView>(columns.name);
        QCOMPARE(list->size(), QSize(1159, 346));
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list->model()->columnCount(), columns.headers.size());
        for (int column = 0; column < columns.headers.size(); ++column) {
            QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(),
                     columns.headers[column]);
            QCOMPARE(list->header()->sectionSize(column), columns.widths[column]);
        }
    }
}

void MainWindowTest::tabContentsAndTexts() {
    // Every page's controls are placed in the tab control's coordinates alike:
    // one offset takes each of them from its layout place to where it is.
    auto* tabs = child<QTabWidget>("选择夹1");
    struct Place {
        const char* name;
        QPoint inTabControl;
    };
    const Place places[] = {
        {"图片框1", {50, 50}},    {"图片框13", {15, 50}},   {"电影名称1", {50, 290}},
        {"上映时间1", {50, 320}}, {"超级列表框1", {0, 20}}, {"超级列表框2", {0, 20}},
        {"分组框1", {0, 20}},     {"分组框2", {0, 20}},     {"编辑框1", {0, 20}}};
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);  // lays each page out
    }
    const QPoint offset = child(places[0].name)->mapTo(tabs, QPoint()) - places[0].inTabControl;
    for (const Place& place : places) {
        QCOMPARE(child(place.name)->mapTo(tabs, QPoint()) - place.inTabControl, offset);
    }
    QCOMPARE(offset.y(), 0);  // the pages start right under the strip

    QCOMPARE(child("分组框2")->size(), QSize(1160, 525));
    for (const char* name : {"图片框16", "图片框15"}) {
        QCOMPARE(child(name)->size(), QSize(250, 250));
        QCOMPARE(child<QLabel>(name)->pixmap().size(), QSize(250, 250));
    }
    QCOMPARE(child("图片框16")->pos().x(), 150);
    QCOMPARE(child("图片框15")->pos().x(), 760);
    QCOMPARE(child<QLabel>("透明标签10")->text(), QStringLiteral("支付宝"));
    QCOMPARE(child<QLabel>("透明标签9")->text(), QStringLiteral("微信"));
    QCOMPARE(
        child<QLabel>("透明标签8")->text(),
        QStringLiteral("\n\n\n\n\n\n我们一起来让这个世界有趣一点……\n\n听说，打赏我的人最后都找到了"
                       "真爱。\n\n听说打赏我的人，都进了福布斯排行榜\n\n打赏的都是天使。\n\n打赏了"
                       "的人都会变美~"));

    const QString notes = ReleaseNotesText();
    QVERIFY(notes.startsWith(QStringLiteral(
        " \r\n\r\n Sirelo 1.1.4（2019.2.24）\r\n\r\n 1：新增 在线播放站点：7DDS "
        "、乐享电影网\r\n\r\n 2：状态条新增可在线播放视频数量\r\n\r\n 3：去除在线播放"
        "站点：百事影院\r\n\r\n 4：新增支付宝扫码领红包\r\n\r\n 5：新增打赏赞助窗口和"
        "子夹\r\n\r\n Sirelo 1.1.3（2019.2.23）\r\n\r\n 1：")));
    QVERIFY(notes.endsWith(u"\r\n\r\n"));
    qsizetype at = 0;
    for (const char* version :
         {"1.1.4（2019.2.24）", "1.1.3（2019.2.23）", "1.1.2（2019.2.17）", "1.1.1（2019.2.16）",
          "1.1.0（2019.2.15）", "1.0.3（2018.1.20）", "1.0.2（2018.1.19）", "1.0.1（2018.1.18）",
          "1.0.0（ 2018.1.16）"}) {
        const qsizetype next =
            notes.indexOf(QStringLiteral("\r\n\r\n Sirelo ") + QString::fromUtf8(version) +
                              QStringLiteral("\r\n\r\n 1："),
                          at);
        QVERIFY2(next >= at, version);
        at = next + 1;
    }
    // Between the blank lines, every line is a heading or a numbered item.
    const QStringList lines = notes.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (i % 2 == 1) {
            QVERIFY(lines[i].isEmpty());
        } else if (i > 0) {
            QVERIFY2(
                lines[i].startsWith(QStringLiteral(" Sirelo 1.")) ||
                    QRegularExpression(QStringLiteral("^ \\d：\\S")).match(lines[i]).hasMatch(),
                qPrintable(lines[i]));
        }
    }
    QCOMPARE(child<QPlainTextEdit>("编辑框1")->toPlainText().remove(u'\r'),
             QString(notes).remove(u'\r'));
}

void MainWindowTest::heightStaysAt525() {
    window_->resize(1165, 800);
    QCOMPARE(window_->height(), 525);
    window_->resize(1000, 300);
    QCOMPARE(window_->size(), QSize(1000, 525));
    QCOMPARE(child("状态条1")->geometry().bottom(), 524);
}

void MainWindowTest::emptyBoxShowsTheMessageAndStartsNothing() {
    QString title, text;
    QStringList buttons;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        box->accept();
    });
    startSearch(QString());
    QCOMPARE(text, QStringLiteral("请输入电影名称再进行搜索"));
    QCOMPARE(title, QStringLiteral("信息："));
    QCOMPARE(buttons, QStringList{QStringLiteral("确定")});
    QVERIFY(!window_->controller().isDispatcherRunning());
    QCOMPARE(LiveThreadCount(), 0);
    QTest::qWait(50);
    QVERIFY(child("搜索_按钮")->isVisible());
    QCOMPARE(window_->statusPaneText(0), QStringLiteral(" 磁力链接： 无"));
}

void MainWindowTest::runDispatchesThePagesThenReturnsToIdle() {
    ButtonSteps steps;
    for (const char* name : {"搜索_按钮", "停止_按钮", "暂停_按钮", "继续_按钮"}) {
        child(name)->installEventFilter(&steps);
    }
    child<QTabWidget>("选择夹1")->setCurrentIndex(3);
    startSearch(QStringLiteral("电影"));
    QTRY_COMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 1);
    QVERIFY(waitForRunEnd());

    QCOMPARE(startNames(), (QStringList{"m0p1", "m1p1", "m2p1", "m3p1", "m0p2", "m1p2", "m2p2",
                                        "m3p2", "m0p3", "m1p3", "m2p3", "m3p3", "o0", "o1"}));
    const auto starts = journal_.starts();
    for (const WorkerStart& start : starts) {
        const int due = start.magnet ? (start.page - 1) * 100 : 300;
        QVERIFY2(msSinceClick(start) >= due, qPrintable(QString::number(msSinceClick(start))));
    }
    QCOMPARE(steps.steps, (QStringList{"暂停 enabled", "停止 shown", "搜索 hidden", "暂停 disabled",
                                       "停止 hidden", "搜索 shown"}));
    QCOMPARE(window_->controller().run().keyword(), Utf8ToGbk("电影"));
    QVERIFY(window_->statusPaneText(0).startsWith(QStringLiteral(" 磁力链接： 0  条")));
    QVERIFY(window_->statusPaneText(4).endsWith(QStringLiteral("  秒")));
}

void MainWindowTest::pauseContinueAndStopWhilePaused() {
    setNumber("搜索页数_编辑框", "10");
    setNumber("搜索间隔_编辑框", "1000");
    setSites(false, true);
    child<QCheckBox>("Btrabbit_选择框")->setChecked(true);
    startSearch(QStringLiteral("电影"));
    QTRY_VERIFY(startNames().contains("m0p2"));
    QTRY_VERIFY(child("暂停_按钮")->isVisible() && child("暂停_按钮")->isEnabled());
    clickRunButton("暂停_按钮");
    QTRY_VERIFY(child("继续_按钮")->isVisible());
    QVERIFY(child("暂停_按钮")->isHidden());
    QVERIFY(child("停止_按钮")->isVisible());
    QTest::qWait(1300);  // longer than the rest of the interval
    QCOMPARE(startNames().size(), 2);

    const auto continued = testing::Time::now();
    clickRunButton("继续_按钮");
    QTRY_VERIFY(startNames().contains("m0p3"));
    QVERIFY(journal_.starts()[2].at - continued < 600ms);
    QTRY_VERIFY(child("暂停_按钮")->isVisible());
    QVERIFY(child("继续_按钮")->isHidden());

    clickRunButton("暂停_按钮");
    QTRY_VERIFY(child("继续_按钮")->isVisible());
    clickRunButton("停止_按钮");
    QVERIFY(waitForRunEnd(1000));
    QTRY_VERIFY(child("搜索_按钮")->isVisible());
    QVERIFY(child("停止_按钮")->isHidden());
    QVERIFY(child("继续_按钮")->isHidden());
    QVERIFY(child("暂停_按钮")->isVisible() && !child("暂停_按钮")->isEnabled());
    QTest::qWait(300);
    QCOMPARE(startNames(), (QStringList{"m0p1", "m0p2", "m0p3"}));
    QCOMPARE(window_->statusPaneText(0), QStringLiteral(" 磁力链接： 无"));
}

void MainWindowTest::stopInTheMiddleOfAWait() {
    setNumber("搜索间隔_编辑框", "3000");
    startSearch(QStringLiteral("电影"));
    QTRY_COMPARE(startNames().size(), 4);
    QTRY_VERIFY(child("停止_按钮")->isVisible());
    clickRunButton("停止_按钮");
    QVERIFY(waitForRunEnd(1000));
    QTRY_VERIFY(child("搜索_按钮")->isVisible());
    QCOMPARE(startNames().size(), 4);
    QCOMPARE(window_->statusPaneText(4), QStringLiteral(" 搜索耗时： 无"));
}

void MainWindowTest::withNoSiteCheckedTheOnlineSearchStillRuns() {
    setSites(false, true);
    startSearch(QStringLiteral("电影"));
    QVERIFY(waitForRunEnd());
    QCOMPARE(startNames(), (QStringList{"o0", "o1"}));
    QVERIFY(msSinceClick(journal_.starts()[0]) >= 300);
    QVERIFY(child("搜索_按钮")->isVisible());
    QVERIFY(window_->statusPaneText(0).endsWith(QStringLiteral("  条")));
}

void MainWindowTest::secondSearchClearsTheListsFirst() {
    setNumber("搜索页数_编辑框", "1");
    SearchController& controller = window_->controller();
    bool second = false;
    int dirty = 0;
    onStart_ = [&](const WorkerStart& start) {
        if (second && start.magnet && start.site == kBtrabbit &&
            (controller.magnetList().RowCount() != 0 || controller.onlineList().RowCount() != 0 ||
             controller.run().filteredLinks != 0 || controller.run().filteredItems != 0)) {
            ++dirty;
        }
        ResultList& list = start.magnet ? controller.magnetList() : controller.onlineList();
        list.AppendRow(std::to_string(list.RowCount() + 1));
        ++controller.run().filteredLinks;
        ++controller.run().filteredItems;
    };
    startSearch(QStringLiteral("电影"));
    QVERIFY(waitForRunEnd());
    auto* magnetView = child<QTreeView>("超级列表框1");
    QTRY_COMPARE(magnetView->model()->rowCount(), 4);
    QTRY_COMPARE(child<QTreeView>("超级列表框2")->model()->rowCount(), 2);

    child<QTabWidget>("选择夹1")->setCurrentIndex(5);
    second = true;
    startSearch(QStringLiteral("另一部"));
    QVERIFY(waitForRunEnd());
    QCOMPARE(dirty, 0);
    QCOMPARE(child<QTabWidget>("选择夹1")->currentIndex(), 1);
    QTRY_COMPARE(magnetView->model()->rowCount(), 4);
    QCOMPARE(controller.run().keyword(), Utf8ToGbk("另一部"));
}

void MainWindowTest::statusPanesAfterARefresh() {
    SearchController& controller = window_->controller();
    for (int i = 0; i < 57; ++i)
        addMagnetRow("magnet:?xt=" + std::to_string(i));
    for (int i = 0; i < 3; ++i)
        addOnlineRow("http://127.0.0.1/" + std::to_string(i));
    controller.run().filteredLinks = 4;
    controller.run().filteredItems = 10;
    controller.run().startTick = 1000;
    clock_.tick = 6237;
    std::thread([&] { controller.updateStatusBar(); }).join();
    QTRY_COMPARE(window_->statusPaneText(0), QStringLiteral(" 磁力链接： 57  条"));
    QCOMPARE(window_->statusPaneText(1), QStringLiteral(" 在线播放： 3  条"));
    QCOMPARE(window_->statusPaneText(2), QStringLiteral(" 过滤链接： 4  条"));
    QCOMPARE(window_->statusPaneText(3), QStringLiteral(" 过滤资源： 10  条"));
    QCOMPARE(window_->statusPaneText(4), QStringLiteral(" 搜索耗时： 5.24  秒"));
}

void MainWindowTest::aRejectedSitesFileOpensThePaneAndSiteTooltips() {
    window_->showDefinitionProblems({{"/home/u/.config/配置/Sirelo/sites.toml", 12,
                                      "magnet.DSS.page", "has no {keyword}", "缺少 {keyword}"}});
    const QString note =
        QStringLiteral("sites.toml 第12行：magnet.DSS.page：缺少 {keyword}；DSS 仍用内置定义");
    QVERIFY(child<QCheckBox>("DSS_选择框")->toolTip().contains(note));
    QVERIFY(!child<QCheckBox>("ZZS_选择框")->toolTip().contains(note));
    QVERIFY(window_->statusPaneToolTip(0).contains(note));
    // A refresh keeps it in the pane.
    std::thread([this] { window_->controller().updateStatusBar(); }).join();
    QCoreApplication::processEvents();
    QVERIFY(window_->statusPaneToolTip(0).contains(note));
}

// Rows that arrive while the window thread is busy reach the view as one batch.
void MainWindowTest::rowsReachTheViewInOneBatch() {
    QAbstractItemModel* model = child<QTreeView>("超级列表框1")->model();
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    std::thread([this] {
        for (int i = 0; i < 1000; ++i)
            addMagnetRow("magnet:?xt=" + std::to_string(i));
    }).join();
    QCOMPARE(model->rowCount(), 0);
    QTRY_COMPARE(model->rowCount(), 1000);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(model->index(999, kMagnetLink).data().toString(), QStringLiteral("magnet:?xt=999"));
    QCOMPARE(model->index(0, kMagnetName).data().toString(), QStringLiteral("电影"));

    window_->controller().magnetList().DeleteAllRows();
    QTRY_COMPARE(model->rowCount(), 0);
    QCOMPARE(child<QTreeView>("超级列表框1")->selectionModel()->selectedRows().size(), 0);
}

void MainWindowTest::doubleClickWithNoRowChangesNothing() {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    child<QTabWidget>("选择夹1")->setCurrentIndex(1);
    QTest::mouseDClick(child<QTreeView>("超级列表框1")->viewport(), Qt::LeftButton, {},
                       QPoint(100, 100));
    window_->copyMagnetLink();
    child<QTabWidget>("选择夹1")->setCurrentIndex(2);
    QTest::mouseDClick(child<QTreeView>("超级列表框2")->viewport(), Qt::LeftButton, {},
                       QPoint(100, 100));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QVERIFY(urls_.opened.isEmpty());
}

// A double-click is the left button's; other buttons pressed twice leave the
// clipboard and the handlers alone.
void MainWindowTest::onlyALeftDoubleClickActsOnARow() {
    addMagnetRow("magnet:?xt=urn:btih:AAAA");
    addOnlineRow("http://127.0.0.1/play/1");
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    auto* tabs = child<QTabWidget>("选择夹1");
    for (const char* name : {"超级列表框1", "超级列表框2"}) {
        tabs->setCurrentWidget(child(name)->parentWidget());
        auto* list = child<QTreeView>(name);
        QTRY_COMPARE(list->model()->rowCount(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QTest::mouseDClick(list->viewport(), Qt::MiddleButton, {}, rowCentre(list, 0));
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QVERIFY(urls_.opened.isEmpty());
}

void MainWindowTest::doubleClickAndMenuCopyAndHandOverTheLink() {
    const std::string first = "magnet:?xt=urn:btih:AAAA&dn=" + Utf8ToGbk("电影");
    const std::string second = "magnet:?xt=urn:btih:BBBB";
    addMagnetRow(first);
    addMagnetRow(second);
    child<QTabWidget>("选择夹1")->setCurrentIndex(1);
    auto* list = child<QTreeView>("超级列表框1");
    QTRY_COMPARE(list->model()->rowCount(), 2);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 1));
    QCOMPARE(QGuiApplication::clipboard()->text(), Utf8(second));
    QCOMPARE(urls_.opened, QList<QUrl>{QUrl(Utf8(second))});

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    requestContextMenu(list, rowCentre(list, 0));
    auto* menu = child<QMenu>("磁力链接");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 3);
    QCOMPARE(menu->actions()[0]->text(), QStringLiteral("复制链接"));
    QCOMPARE(menu->actions()[1]->text(), QStringLiteral("复制所选链接（1）"));
    QCOMPARE(menu->actions()[2]->text(), QStringLiteral("导出列表…"));
    menu->actions()[0]->trigger();
    menu->close();
    QCOMPARE(QGuiApplication::clipboard()->text(), Utf8(first));
    QCOMPARE(urls_.opened.size(), 2);
    QCOMPARE(urls_.opened[1], QUrl(Utf8(first)));

    list->clearSelection();
    requestContextMenu(list, QPoint(5, 300));
    QTest::qWait(20);
    QVERIFY(!menu->isVisible());
}

// A page can make a cell megabytes long: the view shows a cut, the copy is whole.
void MainWindowTest::hugeCellsAreShownCutAndCopiedWhole() {
    const std::string link = "magnet:?xt=" + std::string(2'000'000, 'A');
    addMagnetRow(link);
    child<QTabWidget>("选择夹1")->setCurrentIndex(1);
    auto* list = child<QTreeView>("超级列表框1");
    QTRY_COMPARE(list->model()->rowCount(), 1);
    const QString shown = list->model()->index(0, kMagnetLink).data().toString();
    QCOMPARE(shown.size(), kMaxShownCharacters + 1);
    QVERIFY(shown.endsWith(QChar(0x2026)));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    QCOMPARE(QGuiApplication::clipboard()->text().size(), static_cast<qsizetype>(link.size()));
}

void MainWindowTest::cellsThatAreNoMagnetLinkAreCopiedButNotHandedOver() {
    const std::string cells[] = {"javascript:alert(1)", "file:///etc/passwd", "",
                                 "MAGNET:?xt=urn:btih:CCCC"};
    for (const std::string& cell : cells)
        addMagnetRow(cell);
    auto* list = child<QTreeView>("超级列表框1");
    QTRY_COMPARE(list->model()->rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        list->setCurrentIndex(list->model()->index(row, 0));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        window_->copyMagnetLink();
        QCOMPARE(QGuiApplication::clipboard()->text(), Utf8(cells[row]));
    }
    QCOMPARE(urls_.opened, QList<QUrl>{QUrl(QStringLiteral("MAGNET:?xt=urn:btih:CCCC"))});
}

void MainWindowTest::onlineRowsOpenOnlyAddressesOnTheirSitesHost() {
    const std::string addresses[] = {"http://127.0.0.1/play/1", "HTTP://127.0.0.1/play/2",
                                     "file:///etc/passwd", "javascript:alert(1)",
                                     "http://127.0.0.1@evil.example/play/3"};
    for (const std::string& address : addresses)
        addOnlineRow(address);
    child<QTabWidget>("选择夹1")->setCurrentIndex(2);
    auto* list = child<QTreeView>("超级列表框2");
    QTRY_COMPARE(list->model()->rowCount(), 5);
    auto* menu = child<QMenu>("在线播放菜单");

    requestContextMenu(list, QPoint(5, 300));
    QTest::qWait(20);
    QVERIFY(!menu->isVisible());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    requestContextMenu(list, rowCentre(list, 0));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 3);
    QCOMPARE(menu->actions()[0]->text(), QStringLiteral("在线播放"));
    QCOMPARE(menu->actions()[1]->text(), QStringLiteral("复制所选链接（1）"));
    QCOMPARE(menu->actions()[2]->text(), QStringLiteral("导出列表…"));
    menu->actions()[0]->trigger();
    menu->close();
    QCOMPARE(urls_.opened, QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1/play/1"))});

    for (int row = 1; row < 5; ++row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
    }
    QCOMPARE(urls_.opened.size(), 2);
    QCOMPARE(urls_.opened[1], QUrl(QStringLiteral("HTTP://127.0.0.1/play/2")));
}

void MainWindowTest::sponsorWindowIsModal() {
    QString title;
    QSize size;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto* sponsor = qobject_cast<SponsorWindow*>(QApplication::activeModalWidget());
        if (sponsor == nullptr) return;
        title = sponsor->windowTitle();
        size = sponsor->size();
        modal = sponsor->isModal() && sponsor->parentWidget() == window_.get();
        sponsor->close();
    });
    window_->openSponsorWindow();
    QCOMPARE(title, QStringLiteral(" 打赏赞助"));
    QCOMPARE(size, QSize(905, 386));
    QVERIFY(modal);
}

// main() ends the process on this signal, without waiting for the run.
void MainWindowTest::closingTheWindowEndsTheProgram() {
    QSignalSpy closed(window_.get(), &MainWindow::closed);
    startSearch(QStringLiteral("电影"));
    QVERIFY(window_->close());
    QCOMPARE(closed.size(), 1);
}

void MainWindowTest::editBoxMenusAreChinese() {
    for (const char* box : {"搜索名称", "搜索页数_编辑框"}) {
        const std::unique_ptr<QMenu> menu(child<QLineEdit>(box)->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) texts << action->text();
        }
        QCOMPARE(texts.size(), 7);
        for (const QString& item : texts)
            QVERIFY2(
                !item.section(u'\t', 0, 0).contains(QRegularExpression(QStringLiteral("[a-z]"))),
                qPrintable(item));
        QVERIFY(texts.join(u' ').contains(QStringLiteral("全选")));
    }
}

// 停止 appears under the pointer after a click on 搜索, and 继续 after one on
// 暂停: the second click of a double-click lands there and is ignored.
void MainWindowTest::theSecondClickOfADoubleClickDoesNotAct() {
    setNumber("搜索间隔_编辑框", "1000");
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(5000);
    child<QLineEdit>("搜索名称")->setText(QStringLiteral("电影"));
    QTest::mouseClick(child<QPushButton>("搜索_按钮"), Qt::LeftButton);
    QTRY_VERIFY(child("停止_按钮")->isVisible());
    QTest::mouseClick(child<QPushButton>("停止_按钮"), Qt::LeftButton);
    QTRY_VERIFY(child("暂停_按钮")->isEnabled());
    QTest::mouseClick(child<QPushButton>("暂停_按钮"), Qt::LeftButton);
    QTRY_VERIFY(child("继续_按钮")->isVisible());
    QTest::mouseClick(child<QPushButton>("继续_按钮"), Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(window_->controller().isDispatcherRunning());
    QVERIFY(child("停止_按钮")->isVisible());
    QVERIFY(child("继续_按钮")->isVisible());

    // Past the interval a click acts at once.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(150);
    lastRunClick_.start();
    clickRunButton("继续_按钮");
    QTRY_VERIFY(child("暂停_按钮")->isVisible());
    clickRunButton("停止_按钮");
    QVERIFY(waitForRunEnd(1000));
    QTRY_VERIFY(child("搜索_按钮")->isVisible());
}

// Ascending, descending, then the order of arrival; rows that arrive meanwhile
// take their places, and every row action reaches the row the user sees.
void MainWindowTest::headerClicksSortReverseAndRestoreTheOrder() {
    const char* sizes[] = {"700MB", "1.5 G", "", "48.2 KB", "1.2 GB"};
    for (const char* size : sizes) {
        addMagnetRow("magnet:?xt=" + std::string(size));
        ResultList& list = window_->controller().magnetList();
        list.SetCell(list.RowCount() - 1, kMagnetSize, size);
    }
    child<QTabWidget>("选择夹1")->setCurrentIndex(1);
    auto* list = child<QTreeView>("超级列表框1");
    QAbstractItemModel* rows = list->model();
    QTRY_COMPARE(rows->rowCount(), 5);
    auto column = [rows](int column) {
        QStringList cells;
        for (int row = 0; row < rows->rowCount(); ++row)
            cells << rows->index(row, column).data().toString();
        return cells;
    };
    auto clickHeader = [list](int section) {
        QHeaderView* header = list->header();
        const QPoint at(header->sectionViewportPosition(section) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };

    clickHeader(kMagnetSize);
    QCOMPARE(column(kMagnetSize), (QStringList{"", "48.2 KB", "700MB", "1.2 GB", "1.5 G"}));
    addMagnetRow("magnet:?xt=late");
    window_->controller().magnetList().SetCell(5, kMagnetSize, "1 GB");
    QTRY_COMPARE(rows->rowCount(), 6);
    QCOMPARE(column(kMagnetSize), (QStringList{"", "48.2 KB", "700MB", "1 GB", "1.2 GB", "1.5 G"}));
    clickHeader(kMagnetSize);
    QCOMPARE(column(kMagnetSize), (QStringList{"1.5 G", "1.2 GB", "1 GB", "700MB", "48.2 KB", ""}));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("magnet:?xt=1.5 G"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 2));
    requestContextMenu(list, rowCentre(list, 2));
    auto* menu = child<QMenu>("磁力链接");
    QTRY_VERIFY(menu->isVisible());
    menu->actions()[0]->trigger();
    menu->close();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("magnet:?xt=late"));

    clickHeader(kMagnetSize);
    QCOMPARE(column(kMagnetOrdinal), (QStringList{"1", "2", "3", "4", "5", "6"}));
    QCOMPARE(list->header()->sortIndicatorSection(), -1);
    // The selected row stays selected through every change of order.
    QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 5);

    // Following the newest row scrolls to where it is shown.
    clickHeader(kMagnetOrdinal);
    clickHeader(kMagnetOrdinal);
    for (int i = 0; i < 200; ++i)
        addMagnetRow("magnet:?xt=more" + std::to_string(i));
    QTRY_COMPARE(rows->rowCount(), 206);
    window_->controller().magnetList().ScrollIntoView(5);
    QTRY_VERIFY(list->viewport()->rect().contains(rowCentre(list, 200)));
}

void MainWindowTest::cutCellsShowTheirWholeTextAsTooltip() {
    const std::string longLink = "magnet:?xt=urn:btih:" + std::string(200, 'C');
    addMagnetRow(longLink);
    child<QTabWidget>("选择夹1")->setCurrentIndex(1);
    auto* list = child<QTreeView>("超级列表框1");
    QTRY_COMPARE(list->model()->rowCount(), 1);
    auto tooltipAt = [list](int column) {
        const QPoint at = list->visualRect(list->model()->index(0, column)).center();
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QVERIFY(tooltipAt(kMagnetName).isEmpty());  // 电影 fits its column
    const QString shown = tooltipAt(kMagnetLink);
    QVERIFY(QString(shown).remove(QChar(0x200B)).contains(Utf8(longLink)));
    QToolTip::hideText();
}

// Enter does what a double-click does; a menu asked for from the keyboard
// opens at the selected row with its item highlighted.
void MainWindowTest::keyboardActsOnTheSelectedRow() {
    for (int i = 0; i < 3; ++i)
        addMagnetRow("magnet:?xt=urn:btih:" + std::to_string(i));
    child<QTabWidget>("选择夹1")->setCurrentIndex(1);
    auto* list = child<QTreeView>("超级列表框1");
    QTRY_COMPARE(list->model()->rowCount(), 3);
    list->setFocus();
    list->setCurrentIndex(list->model()->index(2, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("magnet:?xt=urn:btih:2"));

    auto* menu = child<QMenu>("磁力链接");
    const QRect row = list->visualRect(list->model()->index(2, 0));
    const QPoint rowOnScreen = list->viewport()->mapToGlobal(row.bottomLeft());
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->activeAction(), menu->actions().value(0));
    QVERIFY((menu->pos() - rowOnScreen).manhattanLength() < 40);
    menu->close();

    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, row.center(),
                              list->mapToGlobal(row.center()));
    QApplication::sendEvent(list, &menuKey);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->activeAction(), menu->actions().value(0));
    QTest::keyClick(menu, Qt::Key_Return);
    QVERIFY(!menu->isVisible());
    QCOMPARE(urls_.opened.size(), 2);
}

// Tests may wait for every thread of the program, the board loader's too.
void MainWindowTest::theBoardLoaderIsACountedThread() {
    QVERIFY(WaitForNoLiveThreads(10s));
    testsupport::LoopbackServer board(testsupport::Silent());
    SiteDefinitions sites = testing::WithoutAddresses();
    sites.board.base = board.BaseUrl();
    const std::unique_ptr<MainWindow> window = makeWindow(sites);
    QVERIFY(board.WaitForRequests(1, 10s));
    QCOMPARE(board.Requests()[0].target, std::string("/board"));
    QCOMPARE(LiveThreadCount(), 1);
    board.Stop();
    QVERIFY(WaitForNoLiveThreads(10s));
}

// The history offered and taken, a filtered and sorted list taking new rows,
// every shown link copied, and the shown rows exported.
void MainWindowTest::historyFilterSelectionAndExport() {
    auto* box = child<QLineEdit>("搜索名称");
    auto* completer = box->findChild<QCompleter*>();
    QVERIFY(completer);
    // Earlier searches of this test run are in the history: the box's menu clears it.
    QContextMenuEvent ask(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &ask);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QCOMPARE(menu->actions().last()->text(), QStringLiteral("清除搜索历史"));
    menu->actions().last()->trigger();
    menu->close();

    for (const QString& name :
         {QStringLiteral("Hero 英雄"), QStringLiteral("batman"), QStringLiteral("Hero 英雄")}) {
        startSearch(name);
        QVERIFY(waitForRunEnd());
    }
    QFile file(configHome_.filePath(QStringLiteral("配置/Sirelo/history.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("Hero 英雄\nbatman\n"));
    file.close();

    box->clear();
    const std::size_t starts = journal_.starts().size();
    QTest::keyClick(box, Qt::Key_Down);
    QTRY_VERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->completionModel()->rowCount(), 2);
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("Hero 英雄"));
    QVERIFY(!completer->popup()->isVisible());
    box->clear();
    QTest::keyClicks(box, QStringLiteral("BAT"));
    QTRY_VERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->completionModel()->rowCount(), 1);
    QCOMPARE(completer->completionModel()->index(0, 0).data().toString(), QStringLiteral("batman"));
    QTest::keyClick(completer->popup(), Qt::Key_Escape);
    QTest::qWait(50);
    QCOMPARE(journal_.starts().size(), starts);

    // Name, size, link; the list sorted by size, largest first.
    struct Row {
        const char* name;
        const char* size;
    };
    const Row rows[] = {{"Hero.1080p", "6 GB"},   {"Hero.720p", "1.2 GB"},
                        {"英雄 1080P", "700 MB"}, {"=Batman, \"Begins\" 1080p", "8 GB"},
                        {"Other 1080p", ""},      {"hero 2160p", "5.5 GB"}};
    ResultList& store = window_->controller().magnetList();
    store.DeleteAllRows();
    auto add = [&store](const Row& row) {
        const int at = store.AppendRow(std::to_string(store.RowCount() + 1));
        store.SetCell(at, kMagnetName, Utf8ToGbk(row.name));
        store.SetCell(at, kMagnetLink, "magnet:?xt=urn:btih:" + std::to_string(at + 1));
        store.SetCell(at, kMagnetSize, Utf8ToGbk(row.size));
    };
    for (const Row& row : rows)
        add(row);
    auto* list = child<QTreeView>("超级列表框1");
    QTRY_COMPARE(list->model()->rowCount(), 6);
    child<QTabWidget>("选择夹1")->setCurrentIndex(1);
    list->sortByColumn(kMagnetSize, Qt::DescendingOrder);
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
    auto* bar = child<QWidget>("过滤条1");
    QVERIFY(bar->isVisible());
    QCOMPARE(list->height() + bar->height(), 346);
    auto* filter = bar->findChild<QLineEdit*>(QStringLiteral("过滤_编辑框"));
    auto* count = bar->findChild<QLabel*>(QStringLiteral("过滤_标签"));
    QVERIFY(filter->hasFocus());
    auto shownIds = [list] {
        QStringList ids;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            ids << list->model()->index(row, 0).data().toString();
        return ids.join(u' ');
    };
    QTest::keyClicks(filter, QStringLiteral("1080p"));
    QCOMPARE(shownIds(), QStringLiteral("4 1 3 5"));
    QCOMPARE(count->text(), QStringLiteral("显示 4 / 6"));
    add({"New 1080p", "7 GB"});
    add({"New 720p", "9 GB"});
    QTRY_COMPARE(count->text(), QStringLiteral("显示 5 / 8"));
    QCOMPARE(shownIds(), QStringLiteral("4 7 1 3 5"));
    filter->setText(QStringLiteral(">5GB"));
    QCOMPARE(shownIds(), QStringLiteral("8 4 7 1 6"));
    filter->setText(QStringLiteral("1080P >5gb"));
    QCOMPARE(shownIds(), QStringLiteral("4 7 1"));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("magnet:?xt=urn:btih:4\nmagnet:?xt=urn:btih:7\nmagnet:?xt=urn:btih:1"));
    requestContextMenu(list, rowCentre(list, 1));
    auto* rowMenu = child<QMenu>("磁力链接");
    QTRY_VERIFY(rowMenu->isVisible());
    QCOMPARE(rowMenu->actions()[1]->text(), QStringLiteral("复制所选链接（3）"));
    rowMenu->close();

    const QString path = configHome_.filePath(QStringLiteral("export.csv"));
    QVERIFY(window_->exportList(list, path));
    QFile csv(path);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(),
             QStringLiteral("\uFEFFID,资源名称,磁力链接,来源站点,文件大小,资源热度,创建时间\r\n"
                            "4,\"'=Batman, \"\"Begins\"\" 1080p\",magnet:?xt=urn:btih:4,,8 GB,,\r\n"
                            "7,New 1080p,magnet:?xt=urn:btih:7,,7 GB,,\r\n"
                            "1,Hero.1080p,magnet:?xt=urn:btih:1,,6 GB,,\r\n")
                 .toUtf8());
    QVERIFY(!window_->exportList(list, configHome_.filePath(QStringLiteral("missing/x.csv"))));

    QTest::keyClick(filter, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QCOMPARE(list->height(), 346);
    QCOMPARE(list->model()->rowCount(), 8);
}

}  // namespace sirelo

QTEST_MAIN(sirelo::MainWindowTest)
#include "main_window_test.moc"
