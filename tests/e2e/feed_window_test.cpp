// The definitions feed in the real window: fetched once at start-up without
// delaying the window, in force at the next start.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <ctime>
#include <iostream>
#include <memory>

#include "app/detached_thread.h"
#include "app/feed_check_start.h"
#include "app/main_window.h"
#include "app/site_worker_launcher.h"
#include "config/app_config.h"
#include "config/profile_file.h"
#include "fixture_sites.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"
#include "support/feed_site.h"
#include "support/minisign_signer.h"
#include "text/codepage.h"
#include "window_test_support.h"

using namespace std::chrono_literals;

namespace sirelo {

class FeedWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void theWindowIsMappedAsFastWithAFeedThatAnswersLate();
    void aFeedFetchedAtStartUpIsInForceAtTheNextStart();

  private:
    // What main does: the layers, the window, the feed's check. Returns the
    // milliseconds until the window was exposed, -1 when it never was.
    qint64 startProgram();
    void closeProgram();
    // Configuration.ini: every site at its fixture server, DSS off, and the feed.
    void writeSettings(bool withFeed);
    QString paneZeroFirstLine() const;
    template <typename T = QWidget>
    T* child(const char* name) const {
        return testing::FindControl<T>(window_.get(), name);
    }

    std::unique_ptr<fixtures::FixtureSites> sites_;
    std::unique_ptr<testing::MinisignSigner> signer_;
    std::unique_ptr<testing::FeedSite> feed_;
    std::unique_ptr<QTemporaryDir> configHome_;
    SteadyClock clock_;
    std::unique_ptr<DefinitionLayers> layers_;
    std::unique_ptr<MainWindow> window_;
};

// The program's own transfer bounds: a feed that answers after 5 s is no stall.
void FeedWindowTest::initTestCase() {
    sites_ = std::make_unique<fixtures::FixtureSites>(SIRELO_FIXTURES_DIR);
    signer_ = std::make_unique<testing::MinisignSigner>();
}

void FeedWindowTest::init() {
    configHome_ = std::make_unique<QTemporaryDir>();
    QVERIFY(configHome_->isValid());
    qputenv("XDG_CONFIG_HOME", configHome_->path().toLocal8Bit());
    feed_ = std::make_unique<testing::FeedSite>();
    sites_->clearRequests();
}

void FeedWindowTest::cleanup() {
    closeProgram();
    feed_.reset();
    configHome_.reset();
}

qint64 FeedWindowTest::startProgram() {
    QElapsedTimer started;
    started.start();
    layers_ = std::make_unique<DefinitionLayers>(LoadDefinitionLayers(TheAppConfig()));
    ApplySiteAddresses(TheAppConfig(), layers_->definitions);
    window_ = std::make_unique<MainWindow>(clock_, layers_->definitions, MakeSiteWorkerLauncher);
    window_->show();
    StartFeedCheck(*layers_, *window_, std::time(nullptr), StartDetached);
    return QTest::qWaitForWindowExposed(window_.get()) ? started.elapsed() : -1;
}

void FeedWindowTest::closeProgram() {
    if (!window_) return;
    // The feed's check and the board loader post to the window: it outlives them.
    QVERIFY(WaitForNoLiveThreads(60s));
    QCoreApplication::processEvents();
    window_.reset();
    layers_.reset();
}

void FeedWindowTest::writeSettings(bool withFeed) {
    std::string text = "[软件设置]\r\n搜索页数=3\r\n间隔时间=100\r\n[磁力站点]\r\nDSS=假\r\n";
    text += fixtures::FixtureSites::addressSection(sites_->definitions());
    if (withFeed) {
        text += "[站点]\r\n订阅地址=" + feed_->address() + "\r\n订阅公钥=" + signer_->publicKey() +
                "\r\n";
    }
    AppConfig& config = TheAppConfig();
    config.ensureConfigFolder();
    QVERIFY(ReplaceFile(config.configFilePath(), Utf8ToGbk(text)));
}

QString FeedWindowTest::paneZeroFirstLine() const {
    // Rich text in a <p>: the first line is what comes before the first line break.
    QString tip = window_->statusPaneToolTip(0);
    tip.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return tip.section(u'\n', 0, 0);
}

void FeedWindowTest::theWindowIsMappedAsFastWithAFeedThatAnswersLate() {
    const std::string file = "[feed]\nversion = \"2026.12.08\"\n";
    feed_->serve(file, signer_->sign(file));
    feed_->delayAnswers(5s);
    writeSettings(false);
    QVERIFY(startProgram() >= 0);  // the first window of a process pays for more
    closeProgram();
    qint64 without = 0, with = 0;
    for (int round = 0; round < 2; ++round) {
        writeSettings(false);
        const qint64 plain = startProgram();
        QVERIFY(plain >= 0);
        closeProgram();
        writeSettings(true);
        QElapsedTimer checked;
        checked.start();
        const qint64 fed = startProgram();
        QVERIFY(fed >= 0);
        QVERIFY(feed_->server().WaitForRequests(1, 10s));
        QVERIFY(fed < 4000);  // well before the feed answers
        closeProgram();
        QVERIFY(checked.elapsed() >= 5000);  // the check did wait for the feed
        without += plain;
        with += fed;
        feed_->server().ClearRequests();
        QFile::remove(configHome_->path() + QStringLiteral("/配置/Sirelo/feed/state"));
    }
    std::cout << "[feed-window] mapped_ms without_feed=" << without / 2
              << " with_feed_answering_after_5s=" << with / 2
              << " ratio=" << (without > 0 ? static_cast<double>(with) / without : 0.0)
              << std::endl;
}

// DSS's tables in the built-in file as a site of the feed's own, "Mirror", at `base`.
std::string MirrorOfDss(const std::string& base) {
    const std::string_view all = BuiltInDefinitionsText();
    const std::size_t from = all.find("[magnet.DSS]"), to = all.find("[magnet.Btbook]");
    std::string tables(all.substr(from, to - from));
    for (std::size_t at = tables.find("[magnet.DSS"); at != std::string::npos;
         at = tables.find("[magnet.DSS", at)) {
        tables.replace(at, 11, "[magnet.Mirror");
    }
    const std::size_t baseLine = tables.find("base = ");
    tables.replace(baseLine, tables.find('\n', baseLine) - baseLine,
                   "base = \"" + base + "\"\nlabel = \"Mirror\"");
    return tables;
}

void FeedWindowTest::aFeedFetchedAtStartUpIsInForceAtTheNextStart() {
    // A site only the feed defines, with DSS's markers, at DSS's fixture server.
    const std::string file =
        "[feed]\nversion = \"2026.12.08\"\n" + MirrorOfDss(sites_->baseAddress("DSS"));
    feed_->serve(file, signer_->sign(file));
    writeSettings(true);

    QVERIFY(startProgram() >= 0);
    QCOMPARE(paneZeroFirstLine(), QStringLiteral("站点定义订阅：尚未下载，仍用内置定义"));
    QTRY_VERIFY_WITH_TIMEOUT(paneZeroFirstLine().endsWith(QStringLiteral("下次启动时生效")), 10000);
    QCOMPARE(feed_->server().RequestCount("/sites.toml"), 1u);
    QCOMPARE(feed_->server().RequestCount("/sites.toml.minisig"), 1u);
    closeProgram();

    QVERIFY(startProgram() >= 0);
    QVERIFY(paneZeroFirstLine().startsWith(QStringLiteral("站点定义：订阅版本 2026.12.08，今天 ")));
    QVERIFY(child<QCheckBox>("Mirror_选择框")->isChecked());
    child<QLineEdit>("搜索名称")->setText(QStringLiteral("英雄"));
    QTest::mouseClick(child<QPushButton>("搜索_按钮"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(child("搜索_按钮")->isVisible() &&
                                 !window_->controller().isDispatcherRunning() &&
                                 testing::ThreadsEndedAndTheirPostsDelivered(),
                             30000);
    const QAbstractItemModel* rows = child<QTreeView>("超级列表框1")->model();
    int mirrorRows = 0;
    for (int row = 0; row < rows->rowCount(); ++row)
        mirrorRows += rows->index(row, kMagnetSite).data().toString() == QStringLiteral("Mirror");
    QVERIFY(mirrorRows > 0);
    QVERIFY(sites_->requestCount("DSS") > 0);
    // Checked within the day: no second fetch.
    QCOMPARE(feed_->server().RequestCount(), 2u);
}

}  // namespace sirelo

QTEST_MAIN(sirelo::FeedWindowTest)
#include "feed_window_test.moc"
