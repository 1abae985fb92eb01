#include "config/settings_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <memory>

#include "config/profile_text.h"
#include "config_test_support.h"

namespace sirelo {
namespace {

using testing::Gbk;
using testing::ScopedConfigHome;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// One key press per character, as a keyboard gives it; QTest::keyClicks takes Latin-1 only.
void typeText(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

}  // namespace

class SettingsPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void laysOutEveryControl();
    void startsWithFormDefaultsAndWritesNothing();
    void typingClampsOnEveryKeystroke();
    void backspaceToEmptyGivesTheMinimum();
    void pastingClamps();
    void typedLettersAndFullWidthDigitsNeverArrive();
    void fullWidthDigitsFromTheFileStay();
    void checkboxClicksWriteButTheDisabledOneDoesNot();

  private:
    QLineEdit* edit(const char* name) const { return panel_->findChild<QLineEdit*>(U(name)); }
    QCheckBox* box(const char* name) const { return panel_->findChild<QCheckBox*>(U(name)); }
    std::string written(const char* section, const char* key) const {
        return ReadProfileValue(home_->fileBytes().value_or(""), Gbk(section), Gbk(key));
    }
    void typeOverAll(QLineEdit* target, const QString& keys) {
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, keys);
    }
    void pasteOverAll(QLineEdit* target, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keySequence(target, QKeySequence::Paste);
    }
    void clickBox(QCheckBox* target) {
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
    }
    // Every value in the snapshot is the value its control shows.
    void verifyLive() const;

    std::unique_ptr<ScopedConfigHome> home_;
    std::unique_ptr<LiveSettings> live_;
    std::unique_ptr<SettingsPanel> panel_;
};

void SettingsPanelTest::init() {
    home_ = std::make_unique<ScopedConfigHome>();
    live_ = std::make_unique<LiveSettings>();
    panel_ = std::make_unique<SettingsPanel>(*live_, SiteSwitchesOf(BuiltInSiteDefinitions()));
    panel_->resize(1165, 460);
    panel_->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel_.get()));
}

void SettingsPanelTest::cleanup() {
    panel_.reset();
    live_.reset();
    home_.reset();
}

void SettingsPanelTest::verifyLive() const {
    for (const NumberSetting& s : kNumberSettings) {
        const int shown = textToInteger(Utf8ToGbk(edit(s.control)->text().toStdString()));
        QCOMPARE(NumberOf(*live_, s.box).load(), shown);
    }
    for (const FlagSetting& s : kFlagSettings) {
        QCOMPARE(FlagOf(*live_, s.box).load(), box(s.control)->isChecked());
    }
}

void SettingsPanelTest::laysOutEveryControl() {
    auto* group = panel_->findChild<QGroupBox*>(U("分组框1"));
    QVERIFY(group);
    // (0, 20) in the tab control is the top left of the page, below the tab strip.
    QCOMPARE(group->geometry(), QRect(0, 0, 1160, 406));
    QCOMPARE(group->title(), QString());

    struct Label {
        const char* name;
        const char* text;
        QRect place;
    };
    for (const Label& l : {Label{"透明标签4", "搜索页数：", {20, 30, 60, 25}},
                           Label{"透明标签5", "线程数量：", {210, 30, 60, 25}},
                           Label{"透明标签1", "搜索间隔：", {420, 30, 60, 25}},
                           Label{"透明标签6", "毫秒", {630, 30, 50, 25}},
                           Label{"透明标签2", "显示设置：", {20, 70, 60, 25}},
                           Label{"透明标签3", "磁力站点：", {20, 110, 64, 25}},
                           Label{"透明标签7", "在线播放：", {20, 190, 60, 25}}}) {
        auto* label = group->findChild<QLabel*>(U(l.name));
        QVERIFY2(label, l.name);
        QCOMPARE(label->text(), U(l.text));
        QCOMPARE(label->geometry(), l.place);
    }

    QCOMPARE(edit("搜索页数_编辑框")->geometry(), QRect(90, 30, 100, 25));
    QCOMPARE(edit("线程数量_编辑框")->geometry(), QRect(280, 30, 120, 25));
    QCOMPARE(edit("搜索间隔_编辑框")->geometry(), QRect(490, 30, 120, 25));
    QCOMPARE(edit("搜索间隔_编辑框")->parentWidget(), group);

    struct Box {
        const char* name;
        const char* caption;
        QRect place;
        bool checked;
    };
    for (const Box& b :
         {Box{"精准搜索_选择框",
              " 精准搜索（搜索结果只显示包含关键词的资源）",
              {90, 70, 300, 25},
              true},
          Box{"过滤链接_选择框", " 过滤链接（去除重复磁力链接）", {400, 70, 200, 25}, true},
          Box{"保证显示_选择框",
              " 保证显示（保持搜索结果列表一直在尾部）",
              {620, 70, 300, 24},
              false},
          Box{"Btrabbit_选择框", " Btrabbit", {90, 110, 100, 25}, true},
          Box{"ZZS_选择框", " ZZS", {190, 110, 100, 25}, false},
          Box{"DSS_选择框", "DSS", {290, 110, 100, 25}, true},
          Box{"Btbook_选择框", "Btbook", {390, 110, 100, 25}, true},
          Box{"手机看片_选择框", " 7DDS", {90, 190, 100, 25}, true},
          Box{"乐享电影_选择框", " 乐享电影网", {190, 190, 100, 25}, true}}) {
        QCheckBox* check = box(b.name);
        QVERIFY2(check, b.name);
        QCOMPARE(check->parentWidget(), group);
        QCOMPARE(check->text(), U(b.caption));
        QCOMPARE(check->geometry(), b.place);
        QCOMPARE(check->isChecked(), b.checked);
        QCOMPARE(check->isEnabled(), std::string(b.name) != "ZZS_选择框");
    }
}

void SettingsPanelTest::startsWithFormDefaultsAndWritesNothing() {
    panel_->loadSettings();
    QCOMPARE(edit("搜索页数_编辑框")->text(), U("10"));
    QCOMPARE(edit("线程数量_编辑框")->text(), U("5"));
    QCOMPARE(edit("搜索间隔_编辑框")->text(), U("500"));
    QVERIFY(!home_->fileBytes());
    verifyLive();
    QCOMPARE(live_->pageCount.load(), 10);
    QVERIFY(live_->magnetSites[kBtrabbit] && !live_->magnetSites[kZzs]);
}

void SettingsPanelTest::typingClampsOnEveryKeystroke() {
    panel_->loadSettings();
    QLineEdit* threads = edit("线程数量_编辑框");
    typeOverAll(threads, "2");
    QCOMPARE(threads->text(), U("2"));
    QCOMPARE(written("软件设置", "线程数量"), "2");
    verifyLive();
    QTest::keyClicks(threads, "5");
    QCOMPARE(threads->text(), U("20"));
    QCOMPARE(written("软件设置", "线程数量"), "20");
    verifyLive();

    QLineEdit* interval = edit("搜索间隔_编辑框");
    typeOverAll(interval, "8");
    QCOMPARE(interval->text(), U("100"));
    typeOverAll(interval, "-");
    QCOMPARE(interval->text(), U("100"));
    QCOMPARE(written("软件设置", "间隔时间"), "100");
    verifyLive();

    QLineEdit* pages = edit("搜索页数_编辑框");
    typeOverAll(pages, "7");
    QTest::keyClick(pages, Qt::Key_Home);
    QTest::keyClicks(pages, "00");
    QCOMPARE(pages->text(), U("007"));
    QCOMPARE(written("软件设置", "搜索页数"), "7");
    QCOMPARE(live_->pageCount.load(), 7);
    verifyLive();
}

void SettingsPanelTest::backspaceToEmptyGivesTheMinimum() {
    QLineEdit* threads = edit("线程数量_编辑框");
    QTest::keyClick(threads, Qt::Key_End);
    QTest::keyClick(threads, Qt::Key_Backspace);
    QCOMPARE(threads->text(), U("1"));
    QCOMPARE(written("软件设置", "线程数量"), "1");
    verifyLive();
}

void SettingsPanelTest::pastingClamps() {
    QLineEdit* interval = edit("搜索间隔_编辑框");
    pasteOverAll(interval, "3500");
    QCOMPARE(interval->text(), U("3000"));
    QCOMPARE(written("软件设置", "间隔时间"), "3000");
    verifyLive();

    QLineEdit* pages = edit("搜索页数_编辑框");
    pasteOverAll(pages, "-5");
    QCOMPARE(pages->text(), U("1"));
    QCOMPARE(written("软件设置", "搜索页数"), "1");
    verifyLive();
    typeOverAll(pages, "-");
    QCOMPARE(pages->text(), U("1"));

    // Pasted text passes the typing filter, character by character.
    pasteOverAll(pages, U("4x２2"));
    QCOMPARE(pages->text(), U("42"));
    QCOMPARE(written("软件设置", "搜索页数"), "42");
    verifyLive();

    // The context menu's paste takes the same way.
    QGuiApplication::clipboard()->setText(U("x5y"));
    pages->selectAll();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              pages->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(pages, &request);
    auto* menu = pages->findChild<QMenu*>();
    QVERIFY(menu);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(U("&Paste"))) paste = action;
    }
    QVERIFY(paste);
    paste->trigger();
    menu->close();
    QCOMPARE(pages->text(), U("5"));
    QCOMPARE(written("软件设置", "搜索页数"), "5");
    verifyLive();
}

void SettingsPanelTest::typedLettersAndFullWidthDigitsNeverArrive() {
    QLineEdit* pages = edit("搜索页数_编辑框");
    QTest::keyClick(pages, Qt::Key_End);
    typeText(pages, U("a１Z ＋."));
    QCOMPARE(pages->text(), U("10"));
    QTest::keyClick(pages, Qt::Key_Home);
    QVERIFY(!home_->fileBytes());
    // "-" reaches the text at any place: "-10" is replaced at once.
    typeText(pages, U("x-"));
    QCOMPARE(pages->text(), U("1"));
    QCOMPARE(written("软件设置", "搜索页数"), "1");
    verifyLive();
}

void SettingsPanelTest::fullWidthDigitsFromTheFileStay() {
    home_->writeFile(Gbk("[软件设置]\r\n搜索页数=１５\r\n线程数量=50\r\n"));
    const auto before = home_->fileBytes();
    panel_->loadSettings();
    QCOMPARE(edit("搜索页数_编辑框")->text(), U("１５"));
    QCOMPARE(live_->pageCount.load(), 15);
    QCOMPARE(edit("线程数量_编辑框")->text(), U("20"));
    QCOMPARE(live_->threadCount.load(), 20);
    QVERIFY(home_->fileBytes() == before);
    verifyLive();
}

void SettingsPanelTest::checkboxClicksWriteButTheDisabledOneDoesNot() {
    home_->writeFile(Gbk("[磁力站点]\r\nZZS=真\r\n"));
    panel_->loadSettings();
    QCheckBox* zzs = box("ZZS_选择框");
    QVERIFY(zzs->isChecked() && !zzs->isEnabled());
    QVERIFY(live_->magnetSites[kZzs]);
    clickBox(zzs);
    QVERIFY(zzs->isChecked());
    QCOMPARE(home_->fileBytes(), Gbk("[磁力站点]\r\nZZS=真\r\n"));

    QCheckBox* dss = box("DSS_选择框");
    clickBox(dss);
    QVERIFY(!dss->isChecked());
    QCOMPARE(written("磁力站点", "DSS"), Gbk("假"));
    verifyLive();
    clickBox(dss);
    QCOMPARE(written("磁力站点", "DSS"), Gbk("真"));
    verifyLive();

    QTest::keyClick(box("保证显示_选择框"), Qt::Key_Space);
    QCOMPARE(written("软件设置", "保证显示"), Gbk("真"));
    QVERIFY(live_->keepNewestShown);
    verifyLive();
}

}  // namespace sirelo

QTEST_MAIN(sirelo::SettingsPanelTest)
#include "settings_panel_test.moc"
