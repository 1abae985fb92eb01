#pragma once
// The main window: the search row, the six tabs, the status bar. It drives the
// search run and shows what the run reports, posting every report to the
// window thread; it holds no search logic of its own.

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/feed_check_start.h"
#include "app/run_ports.h"
#include "app/search_controller.h"
#include "sitedefs/definitions_loader.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeView;

namespace sirelo {

class BoardTab;
class FilterBar;
class HistoryCompleter;
class ResultListModel;
class SettingsPanel;
class SortedRowsProxy;

class MainWindow : public QMainWindow,
                   public FeedStateView,
                   private RunView,
                   private Notifier,
                   private SearchBox {
    Q_OBJECT

  public:
    // `definitions`, addresses applied, live as long as the process: workers
    // and the board loader read them.
    MainWindow(const Clock& clock, const SiteDefinitions& definitions,
               const SearchController::LauncherFactory& makeLauncher, QWidget* parent = nullptr);
    ~MainWindow() override;

    SearchController& controller() { return controller_; }
    QString statusPaneText(int pane) const;
    QString statusPaneToolTip(int pane) const;

    // Part of the result-list actions; each acts on its list's selected row.
    // A menu asked for with the mouse appears at the pointer, one asked for
    // from the keyboard at the selected row, its item highlighted.
    void copyMagnetLink();
    void openOnlinePage();
    void showMagnetMenu(QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse);
    void showOnlineMenu(QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse);

    // Every selected row's magnet link (online list: its address), one a line,
    // in the order shown, to the clipboard.
    void copySelectedLinks(const QTreeView* list);
    // Asks where, with Sirelo-<keyword>-<yyyyMMdd-HHmm>.csv in the home folder
    // offered, and exports the list there; a failure is said in the status bar.
    void exportListAs(const QTreeView* list);
    // The list's rows as shown (filtered and sorted), with its column titles,
    // as CSV into `path`, replaced atomically. False when it could not be written.
    bool exportList(const QTreeView* list, const QString& path);

    // Modal over the main window; the board's promotional slots open it too.
    void openSponsorWindow();

    // Any thread: posted. The line (GBK) opens the tooltip of status pane 0 from now on.
    void showFeedState(const std::string& line) override;
    // Window thread, at start: each refused [站点地址] value opens its site's
    // tooltips; before showDefinitionProblems, whose lines come first.
    void showRefusedAddresses(const std::vector<RefusedAddress>& refused);
    // Window thread, at start: the first problem of the user's sites.toml opens
    // the tooltips of status pane 0 (after the feed's line) and of each site it
    // keeps built in.
    void showDefinitionProblems(const std::vector<DefinitionProblem>& problems);

  signals:
    // The window was closed: the program ends.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildSearchRow(QWidget* parent);
    void buildTabs(QWidget* parent);
    void buildStatusBar();
    void buildMenus();
    QTreeView* buildResultList(QWidget* page, const char* name, SortedRowsProxy* rows,
                               const std::array<int, 7>& widths);
    void buildShortcuts();
    // The list on the tab shown, with its filter bar; null on the other tabs.
    QTreeView* shownList() const;
    FilterBar* filterBarOf(const QTreeView* list) const;
    QWidget* buildSponsorPage();
    QWidget* buildReleaseNotesPage();
    void startupLayout();
    // The store's row behind the list's selected row, -1 for none: the one
    // place where a row the user sees becomes a row of the store.
    static int selectedStoreRow(const QTreeView* list);
    // The store's rows behind every selected row, in the order shown.
    static std::vector<int> selectedStoreRows(const QTreeView* list);
    ResultList& storeOf(const QTreeView* list);
    int linkColumnOf(const QTreeView* list) const;
    QString defaultExportPath();
    // What a double-click or Enter on the list's selected row does.
    void actOnSelectedRow(const QTreeView* list);
    void popUpMenu(QMenu* menu, QTreeView* list, QContextMenuEvent::Reason reason);
    // The items every list's menu has after its own.
    void addListItems(QMenu* menu, QTreeView* list);
    // Whether a click on a run button in `frame` acts: the second click of a
    // double-click, landing on the button the first one showed, does not.
    static bool clickActs(QElapsedTimer& frame);
    QPushButton* button(RunButton which) const;

    // RunView: posted to the window thread, in the order made.
    void showStatusPanes(const StatusPanes& panes) override;
    void showOutcomeTips(const OutcomeTips& tips) override;
    // Window thread: the site notes as the sites' tooltips, until their first run.
    void showSiteNotes();
    // Window thread: the feed's line, the note and the outcomes as pane 0's tooltip.
    void showPaneZeroTip();
    void setButtonVisible(RunButton which, bool visible) override;
    void setButtonEnabled(RunButton which, bool enabled) override;
    void selectTab(int index) override;
    // Notifier.
    void beep() override;
    void showMessage(const std::string& text, const std::string& title) override;
    // SearchBox.
    std::string searchText() const override;

    mutable std::mutex searchTextMutex_;
    std::string searchText_;  // GBK copy of 搜索名称, for the dispatcher thread
    SearchController controller_;

    // The window's controls carry their names; the pages that are widgets of
    // their own, and the models, carry role names.
    QLineEdit* 搜索名称 = nullptr;
    HistoryCompleter* history_ = nullptr;  // of 搜索名称
    QLabel* 标签1 = nullptr;               // frames of the buttons
    QLabel* 标签2 = nullptr;
    QPushButton* 搜索_按钮 = nullptr;
    QPushButton* 停止_按钮 = nullptr;
    QPushButton* 暂停_按钮 = nullptr;
    QPushButton* 继续_按钮 = nullptr;
    QTabWidget* 选择夹1 = nullptr;
    BoardTab* boardTab_ = nullptr;  // tab 0, 院线热映
    ResultListModel* magnetModel_ = nullptr;
    ResultListModel* onlineModel_ = nullptr;
    SortedRowsProxy* magnetRows_ = nullptr;  // the models in the order the user chose
    SortedRowsProxy* onlineRows_ = nullptr;
    QElapsedTimer searchFrameClick_;  // the last click that acted in 标签1, and in 标签2
    QElapsedTimer pauseFrameClick_;
    QTreeView* 超级列表框1 = nullptr;         // magnet results
    QTreeView* 超级列表框2 = nullptr;         // online-play results
    FilterBar* magnetFilter_ = nullptr;       // under 超级列表框1
    FilterBar* onlineFilter_ = nullptr;       // under 超级列表框2
    SettingsPanel* settingsPanel_ = nullptr;  // tab 3, 设置中心
    std::array<QLabel*, 5> 状态条1窗格{};     // the panes of the status bar 状态条1
    QMenu* 磁力链接 = nullptr;                // context menu of 超级列表框1
    QMenu* 在线播放菜单 = nullptr;            // context menu of 超级列表框2
    // Site id (UTF-8) -> the lines said first in each of that site's tooltips,
    // GBK: the user's sites.toml keeping it built in, its refused [站点地址] value.
    std::map<std::string, std::string> siteNotes_;
    // The tooltip of status pane 0, GBK, in this order: the feed's line, the note
    // on the user's sites.toml, the last run's magnet outcomes.
    std::string feedLine_;
    std::string paneNote_;
    std::string magnetOutcomes_;
};

}  // namespace sirelo
