// Sites added by the user's file on 设置中心: their checkboxes, where they
// stand, what a click writes, and that a switched-off site is not asked.

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/detached_thread.h"
#include "app/main_window.h"
#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/profile_text.h"
#include "run_fakes.h"
#include "sitedefs/definitions_loader.h"
#include "sitedefs/program_definitions.h"
#include "support/offline_definitions.h"
#include "text/codepage.h"

namespace sirelo {
namespace {

using namespace std::chrono_literals;

QString U(const char* text) {
    return QString::fromUtf8(text);
}

std::string MagnetTable(const std::string& id, const std::string& more = "") {
    std::string text =
        "[magnet." + id + "]\nbase = \"http://127.0.0.1\"\npage = \"/{keyword}\"\n" + more;
    for (const char* field : {"name", "link", "size", "heat", "created"})
        text += "[magnet." + id + "." + field + "]\nstart = \"a\"\nend = \"b\"\n";
    return text;
}

// Seven added magnet sites fill the first row and open the second; one added
// online site follows 乐享电影网; the user's ZZS table makes ZZS clickable.
SiteDefinitions AddedSites(bool withZzs) {
    std::string file;
    for (char n = '1'; n <= '7'; ++n) {
        const std::string id = std::string("m") + n;
        file += MagnetTable(id, n == '7' ? "label = \"一个很长很长很长很长的名字\"\n" : "");
    }
    if (withZzs) file += "[magnet.ZZS]\nno_results = \"none\"\n";
    file +=
        "[online.o1]\nbase = \"http://127.0.0.1\"\nsearch = \"/s\"\nform = \"wd={keyword}\"\n"
        "hit = \"h.+\"\ndetail = { start = \"a\", end = \"b\" }\n"
        "name = { start = \"c\", end = \"d\" }\nitem = { start = \"e\", end = \"f\" }\n";
    LoadedDefinitions loaded =
        ApplyDefinitions(BuiltInSiteDefinitions(), file, "sites.toml", DefinitionsOrigin::User);
    if (!loaded.problems.empty()) qWarning("%s", DescribeProblem(loaded.problems[0]).c_str());
    return std::move(loaded.definitions);
}

}  // namespace

class AddedSitesWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("XDG_CONFIG_HOME", home_.path().toLocal8Bit());
    }
    void cleanup() {
        QVERIFY(WaitForNoLiveThreads(10s));
        QCoreApplication::processEvents();
        window_.reset();
    }

    void addedCheckboxesStandInRowsWriteAtOnceAndSwitchTheirSites();
    void zzsIsClickableOnlyWithTheUsersTable();

  private:
    void open(const SiteDefinitions& definitions) {
        definitions_ = testing::WithoutAddresses(definitions);
        window_ = std::make_unique<MainWindow>(clock_, definitions_, [this](const WorkerContext&) {
            return std::make_unique<testing::FakeLauncher>(journal_,
                                                           [](const testing::WorkerStart&) {});
        });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    QCheckBox* box(const char* name) const { return window_->findChild<QCheckBox*>(U(name)); }
    std::string written(const char* section, const char* key) const {
        const auto text = ReadWholeFile(TheAppConfig().configFilePath());
        return text ? GbkToUtf8(ReadProfileValue(*text, Utf8ToGbk(section), Utf8ToGbk(key))) : "";
    }

    QTemporaryDir home_;
    testing::Journal journal_;
    testing::FakeClock clock_;
    SiteDefinitions definitions_;
    std::unique_ptr<MainWindow> window_;
};

void AddedSitesWindowTest::addedCheckboxesStandInRowsWriteAtOnceAndSwitchTheirSites() {
    open(AddedSites(true));
    const struct {
        const char* name;
        QRect place;
    } places[] = {{"m1_选择框", {490, 110, 100, 25}},  {"m6_选择框", {990, 110, 100, 25}},
                  {"m7_选择框", {90, 140, 100, 25}},   {"o1_选择框", {290, 190, 100, 25}},
                  {"DSS_选择框", {290, 110, 100, 25}}, {"乐享电影_选择框", {190, 190, 100, 25}}};
    for (const auto& place : places) {
        QCheckBox* site = box(place.name);
        QVERIFY2(site, place.name);
        QCOMPARE(site->parentWidget()->objectName(), U("分组框1"));
        QCOMPARE(site->geometry(), place.place);
        QVERIFY(site->isChecked() && site->isEnabled());
    }
    QCOMPARE(box("m1_选择框")->text(), U(" m1"));
    QVERIFY(box("m7_选择框")->text().endsWith(U("…")));
    QCOMPARE(box("m7_选择框")->toolTip(), U("一个很长很长很长很长的名字"));
    QCOMPARE(box("DSS_选择框")->text(), U("DSS"));

    QTest::mouseClick(box("m2_选择框"), Qt::LeftButton, {}, QPoint(8, 12));
    QCOMPARE(written("磁力站点", "m2"), "假");
    QTest::mouseClick(box("o1_选择框"), Qt::LeftButton, {}, QPoint(8, 12));
    QCOMPARE(written("在线站点", "o1"), "假");

    window_->findChild<QLineEdit*>(U("搜索页数_编辑框"))->setText("1");
    window_->findChild<QLineEdit*>(U("搜索间隔_编辑框"))->setText("100");
    window_->findChild<QLineEdit*>(U("搜索名称"))->setText(U("电影"));
    window_->findChild<QPushButton*>(U("搜索_按钮"))->click();
    QVERIFY(journal_.waitForEntry("online 1"));
    QVERIFY(WaitForNoLiveThreads(10s));
    std::vector<std::string> starts;
    for (const std::string& entry : journal_.entries()) {
        if (entry.starts_with("magnet") || entry.starts_with("online")) starts.push_back(entry);
    }
    // m1 is place 4, m2 place 5; o1 is online place 2.
    QCOMPARE(starts, (std::vector<std::string>{
                         "magnet 0 page 1", "magnet 2 page 1", "magnet 3 page 1", "magnet 4 page 1",
                         "magnet 6 page 1", "magnet 7 page 1", "magnet 8 page 1", "magnet 9 page 1",
                         "magnet 10 page 1", "online 0", "online 1"}));

    // The next start reads the keys back.
    window_.reset();
    open(AddedSites(true));
    QVERIFY(!box("m2_选择框")->isChecked() && !box("o1_选择框")->isChecked());
    QVERIFY(box("m3_选择框")->isChecked());
}

void AddedSitesWindowTest::zzsIsClickableOnlyWithTheUsersTable() {
    open(AddedSites(false));
    QVERIFY(!box("ZZS_选择框")->isEnabled());
    window_.reset();
    open(AddedSites(true));
    QCheckBox* zzs = box("ZZS_选择框");
    QVERIFY(zzs->isEnabled() && !zzs->isChecked());
    QTest::mouseClick(zzs, Qt::LeftButton, {}, QPoint(8, 12));
    QVERIFY(zzs->isChecked());
    QCOMPARE(written("磁力站点", "ZZS"), "真");
}

}  // namespace sirelo

QTEST_MAIN(sirelo::AddedSitesWindowTest)
#include "added_sites_window_test.moc"
