#pragma once
// The main window: the search row, the six tabs, the status bar. It drives the
// search run and shows what the run reports, posting every report to the
// window thread; it holds no search logic of its own.

#include <QMainWindow>
#include <array>
#include <mutex>
#include <string>

#include "app/run_ports.h"
#include "app/search_controller.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeView;

namespace sirelo {

class BoardTab;
class ResultListModel;
class SettingsPanel;

class MainWindow : public QMainWindow, private RunView, private Notifier, private SearchBox {
    Q_OBJECT

  public:
    // `definitions` live as long as the process: workers and the board loader read them.
    MainWindow(const Clock& clock, const SiteDefinitions& definitions, SiteAddresses addresses,
               const SearchController::LauncherFactory& makeLauncher, QWidget* parent = nullptr);
    ~MainWindow() override;

    SearchController& controller() { return controller_; }
    QString statusPaneText(int pane) const;
    QString statusPaneToolTip(int pane) const;

    // Part of the result-list actions; each acts on its list's selected row.
    void copyMagnetLink();
    void openOnlinePage();
    void showMagnetMenu();
    void showOnlineMenu();

    // Modal over the main window; the board's promotional slots open it too.
    void openSponsorWindow();

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
    QTreeView* buildResultList(QWidget* page, const char* name, ResultListModel* model,
                               const std::array<int, 7>& widths);
    QWidget* buildSponsorPage();
    QWidget* buildReleaseNotesPage();
    void startupLayout();
    static int currentRow(const QTreeView* list);
    QPushButton* button(RunButton which) const;

    // RunView: posted to the window thread, in the order made.
    void showStatusPanes(const StatusPanes& panes) override;
    void showOutcomeTips(const OutcomeTips& tips) override;
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
    QLabel* 标签1 = nullptr;  // frames of the buttons
    QLabel* 标签2 = nullptr;
    QPushButton* 搜索_按钮 = nullptr;
    QPushButton* 停止_按钮 = nullptr;
    QPushButton* 暂停_按钮 = nullptr;
    QPushButton* 继续_按钮 = nullptr;
    QTabWidget* 选择夹1 = nullptr;
    BoardTab* boardTab_ = nullptr;  // tab 0, 院线热映
    ResultListModel* magnetModel_ = nullptr;
    ResultListModel* onlineModel_ = nullptr;
    QTreeView* 超级列表框1 = nullptr;         // magnet results
    QTreeView* 超级列表框2 = nullptr;         // online-play results
    SettingsPanel* settingsPanel_ = nullptr;  // tab 3, 设置中心
    std::array<QLabel*, 5> 状态条1窗格{};     // the panes of the status bar 状态条1
    QMenu* 磁力链接 = nullptr;                // context menu of 超级列表框1
    QMenu* 在线播放菜单 = nullptr;            // context menu of 超级列表框2
};

}  // namespace sirelo
