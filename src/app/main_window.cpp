#include "app/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTreeView>
#include <QUrl>
#include <utility>

#include "app/csv_text.h"
#include "app/cut_cell_delegate.h"
#include "app/definitions_note.h"
#include "app/detached_thread.h"
#include "app/filter_bar.h"
#include "app/history_completer.h"
#include "app/link_checks.h"
#include "app/outcome_texts.h"
#include "app/result_list_model.h"
#include "app/sorted_rows_proxy.h"
#include "app/sponsor_window.h"
#include "app/window_texts.h"
#include "board/board_tab.h"
#include "config/app_config.h"
#include "config/profile_file.h"
#include "config/setting_table.h"
#include "config/settings_panel.h"
#include "text/codepage.h"
#include "widgets/tab_page.h"

// Q_INIT_RESOURCE cannot be used inside a namespace.
static void InitAppImages() {
    Q_INIT_RESOURCE(app_images);
}

namespace sirelo {
namespace {

constexpr int kWindowHeight = 525;
constexpr std::array<int, 5> kPaneWidths{232, 232, 232, 232, 231};

QString FromGbk(const std::string& text) {
    return QString::fromStdString(GbkToUtf8(text));
}

// Outcome lines carry host names and libcurl's words: shown as plain text,
// one line each, unwrapped.
QString PlainTip(const std::string& gbkLines) {
    if (gbkLines.empty()) return {};
    return QStringLiteral("<p style='white-space:pre'>") + FromGbk(gbkLines).toHtmlEscaped() +
           QStringLiteral("</p>");
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

}  // namespace

MainWindow::MainWindow(const Clock& clock, const SiteDefinitions& definitions,
                       const SearchController::LauncherFactory& makeLauncher, QWidget* parent)
    : QMainWindow(parent), controller_({*this, *this, *this, clock}, definitions, makeLauncher) {
    InitAppImages();
    setWindowTitle(QStringLiteral("Korba Sirelo 1.1.4"));
    setWindowIcon(QIcon(QStringLiteral(":/app/images/icon.png")));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    buildSearchRow(central);
    buildTabs(central);
    buildStatusBar();
    buildMenus();
    buildShortcuts();
    // The designed size; the height is held at 525 whatever size is asked for.
    setFixedHeight(kWindowHeight);
    setGeometry(50, 50, 1165, 874);

    startupLayout();
    boardTab_->setOutcomeListener([this](const BoardOutcome& outcome) {
        选择夹1->setTabToolTip(
            选择夹1->indexOf(boardTab_),
            PlainTip(JoinLines(siteNotes_[kBoardAddressKey], BoardOutcomeLine(outcome))));
    });
    boardTab_->startLoading(definitions.board, definitions.board.base + definitions.board.pagePath,
                            StartDetached);
    settingsPanel_->loadSettings();
}

// The models watch the controller's lists. As children they would go only after
// the members, the controller among them, so they go first, each after the
// proxy over it.
MainWindow::~MainWindow() {
    delete magnetRows_;
    delete onlineRows_;
    delete magnetModel_;
    delete onlineModel_;
}

void MainWindow::buildSearchRow(QWidget* parent) {
    搜索名称 = Named(new QLineEdit(parent), "搜索名称");
    搜索名称->setGeometry(50, 40, 802, 35);
    connect(搜索名称, &QLineEdit::textChanged, this, [this](const QString& text) {
        std::string gbk = Utf8ToGbk(text.toStdString());
        std::lock_guard hold(searchTextMutex_);
        searchText_ = std::move(gbk);
    });
    history_ = new HistoryCompleter(搜索名称, TheAppConfig().folderFilePath("history.txt"));

    标签1 = Named(new QLabel(parent), "标签1");
    标签1->setGeometry(43, 0, 130, 35);
    标签2 = Named(new QLabel(parent), "标签2");
    标签2->setGeometry(188, 0, 130, 35);
    for (QLabel* frame : {标签1, 标签2})
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);

    auto makeButton = [parent](const char* name, const char* caption) {
        auto* button = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
        button->setAutoDefault(false);
        return button;
    };
    搜索_按钮 = makeButton("搜索_按钮", "搜索");
    停止_按钮 = makeButton("停止_按钮", "停止");
    暂停_按钮 = makeButton("暂停_按钮", "暂停");
    继续_按钮 = makeButton("继续_按钮", "继续");
    停止_按钮->hide();
    暂停_按钮->setEnabled(false);
    继续_按钮->hide();
    connect(搜索_按钮, &QPushButton::clicked, this, [this] {
        if (!clickActs(searchFrameClick_)) return;
        controller_.startSearch();
        // An empty box starts no search.
        if (!搜索名称->text().isEmpty()) history_->remember(搜索名称->text());
    });
    connect(停止_按钮, &QPushButton::clicked, this, [this] {
        if (clickActs(searchFrameClick_)) controller_.stopRun();
    });
    connect(暂停_按钮, &QPushButton::clicked, this, [this] {
        if (clickActs(pauseFrameClick_)) controller_.pauseRun();
    });
    connect(继续_按钮, &QPushButton::clicked, this, [this] {
        if (clickActs(pauseFrameClick_)) controller_.continueRun();
    });
}

void MainWindow::buildTabs(QWidget* parent) {
    选择夹1 = Named(new QTabWidget(parent), "选择夹1");
    选择夹1->setGeometry(0, 110, 1288, 682);
    选择夹1->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { height: %1px; }").arg(kTabStripHeight));

    boardTab_ = new BoardTab(搜索名称, [this] { openSponsorWindow(); });
    选择夹1->addTab(boardTab_, QStringLiteral("院线热映"));

    magnetModel_ = new ResultListModel(
        controller_.magnetList(),
        {"ID", "资源名称", "磁力链接", "来源站点", "文件大小", "资源热度", "创建时间"}, this);
    magnetRows_ =
        new SortedRowsProxy(magnetModel_, {MagnetColumnOrder, kMagnetName, kMagnetSize}, this);
    auto* magnetPage = new QWidget;
    超级列表框1 =
        buildResultList(magnetPage, "超级列表框1", magnetRows_, {50, 310, 310, 100, 100, 100, 100});
    magnetFilter_ = new FilterBar(超级列表框1, magnetRows_);
    magnetFilter_->setObjectName(QStringLiteral("过滤条1"));
    选择夹1->addTab(magnetPage, QStringLiteral("磁力链接"));

    onlineModel_ = new ResultListModel(
        controller_.onlineList(), {"ID", "视频名称", "数据信息", "来源站点", "网页地址"}, this);
    onlineRows_ = new SortedRowsProxy(onlineModel_, {OnlineColumnOrder, kOnlineVideoName}, this);
    auto* onlinePage = new QWidget;
    超级列表框2 = buildResultList(onlinePage, "超级列表框2", onlineRows_, {50, 200, 200, 200, 450});
    onlineFilter_ = new FilterBar(超级列表框2, onlineRows_);
    onlineFilter_->setObjectName(QStringLiteral("过滤条2"));
    选择夹1->addTab(onlinePage, QStringLiteral("在线播放"));

    settingsPanel_ =
        new SettingsPanel(controller_.settings(), SiteSwitchesOf(controller_.definitions()));
    选择夹1->addTab(settingsPanel_, QStringLiteral("设置中心"));
    选择夹1->addTab(buildSponsorPage(), QStringLiteral("打赏赞助"));
    选择夹1->addTab(buildReleaseNotesPage(), QStringLiteral("更新日志"));
}

QTreeView* MainWindow::buildResultList(QWidget* page, const char* name, SortedRowsProxy* rows,
                                       const std::array<int, 7>& widths) {
    auto* list = Named(new QTreeView(page), name);
    list->setGeometry(0, PageTop(20), 1159, 346);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setModel(rows);
    list->setItemDelegate(new CutCellDelegate(list));
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    for (int column = 0; column < rows->columnCount(); ++column) {
        list->header()->resizeSection(column, widths[column]);
    }
    // Ascending, descending, then the order of arrival again.
    list->header()->setSortIndicator(-1, Qt::AscendingOrder);
    list->header()->setSortIndicatorClearable(true);
    list->setSortingEnabled(true);
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    auto* model = static_cast<ResultListModel*>(rows->sourceModel());
    connect(model, &ResultListModel::scrollToRowRequested, list,
            [list, rows](int row) { list->scrollTo(rows->index(rows->viewRow(row), 0)); });
    return list;
}

QWidget* MainWindow::buildSponsorPage() {
    auto* page = new QWidget;
    auto* 分组框2 = Named(new QGroupBox(page), "分组框2");
    分组框2->setGeometry(0, PageTop(20), 1160, 525);

    auto picture = [分组框2](const char* name, const char* image, int left) {
        auto* label = Named(new QLabel(分组框2), name);
        label->setGeometry(left, 50, 250, 250);
        label->setPixmap(QPixmap(QString::fromUtf8(image)));
    };
    picture("图片框16", ":/app/images/alipay.png", 150);
    picture("图片框15", ":/app/images/wechat.png", 760);

    // Each caption is centred under its picture.
    auto caption = [分组框2](const char* name, const char* text, int left, int width) {
        auto* label = Named(new QLabel(QString::fromUtf8(text), 分组框2), name);
        label->setGeometry(left, 356, width, 24);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    };
    caption("透明标签10", "支付宝", 136, 278);
    caption("透明标签9", "微信", 688, 394);

    auto* 透明标签8 = Named(new QLabel(SponsorPageText(), 分组框2), "透明标签8");
    透明标签8->setGeometry(400, 50, 350, 250);
    透明标签8->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return page;
}

QWidget* MainWindow::buildReleaseNotesPage() {
    auto* page = new QWidget;
    auto* 编辑框1 = Named(new QPlainTextEdit(page), "编辑框1");
    编辑框1->setGeometry(0, PageTop(20), 1159, 346);
    编辑框1->setReadOnly(true);
    编辑框1->setPlainText(ReleaseNotesText());
    return page;
}

void MainWindow::buildStatusBar() {
    QStatusBar* 状态条1 = statusBar();
    状态条1->setObjectName(QStringLiteral("状态条1"));
    状态条1->setSizeGripEnabled(false);
    状态条1->setFixedHeight(20);
    const StatusPanes idle = IdleStatusPanes();
    for (std::size_t pane = 0; pane < 状态条1窗格.size(); ++pane) {
        状态条1窗格[pane] = new QLabel(FromGbk(idle[pane]), 状态条1);
        状态条1窗格[pane]->setFixedWidth(kPaneWidths[pane]);
        状态条1->addWidget(状态条1窗格[pane]);
    }
}

void MainWindow::buildMenus() {
    磁力链接 = Named(new QMenu(QStringLiteral("磁力链接"), this), "磁力链接");
    磁力链接->addAction(QStringLiteral("复制链接"), this, &MainWindow::copyMagnetLink);
    在线播放菜单 = Named(new QMenu(QStringLiteral("在线播放菜单"), this), "在线播放菜单");
    在线播放菜单->addAction(QStringLiteral("在线播放"), this, &MainWindow::openOnlinePage);
    addListItems(磁力链接, 超级列表框1);
    addListItems(在线播放菜单, 超级列表框2);
}

// The copy item's count is set each time the menu pops up.
void MainWindow::addListItems(QMenu* menu, QTreeView* list) {
    menu->addAction(QString(), this, [this, list] { copySelectedLinks(list); });
    menu->addAction(QStringLiteral("导出列表…"), this, [this, list] { exportListAs(list); });
}

// On a result list, its tab or its filter bar.
void MainWindow::buildShortcuts() {
    auto* find = new QShortcut(QKeySequence::Find, 选择夹1);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        if (QTreeView* list = shownList()) filterBarOf(list)->open();
    });
    auto* save = new QShortcut(QKeySequence::Save, 选择夹1);
    save->setContext(Qt::WidgetWithChildrenShortcut);
    connect(save, &QShortcut::activated, this, [this] {
        if (QTreeView* list = shownList()) exportListAs(list);
    });
}

QTreeView* MainWindow::shownList() const {
    QWidget* page = 选择夹1->currentWidget();
    for (QTreeView* list : {超级列表框1, 超级列表框2}) {
        if (list->parentWidget() == page) return list;
    }
    return nullptr;
}

FilterBar* MainWindow::filterBarOf(const QTreeView* list) const {
    return list == 超级列表框1 ? magnetFilter_ : onlineFilter_;
}

// Frames right of the search box, each overlapping its left neighbour by one
// pixel; the buttons inset by one pixel in their frames.
void MainWindow::startupLayout() {
    搜索名称->setFocus();
    const QRect box = 搜索名称->geometry();
    标签1->setGeometry(box.x() + box.width() - 1, box.y(), 130, 标签1->height());
    标签2->setGeometry(标签1->x() + 标签1->width() - 1, box.y(), 标签1->width(), 标签2->height());
    const QSize buttonSize(标签1->width() - 2, 标签1->height() - 2);
    for (QPushButton* b : {搜索_按钮, 停止_按钮}) {
        b->setGeometry(QRect(标签1->pos() + QPoint(1, 1), buttonSize));
    }
    for (QPushButton* b : {暂停_按钮, 继续_按钮}) {
        b->setGeometry(QRect(标签2->pos() + QPoint(1, 1), buttonSize));
    }
}

QString MainWindow::statusPaneText(int pane) const {
    return 状态条1窗格.at(pane)->text();
}

QString MainWindow::statusPaneToolTip(int pane) const {
    return 状态条1窗格.at(pane)->toolTip();
}

// The current row when it is selected, else the first selected row shown.
int MainWindow::selectedStoreRow(const QTreeView* list) {
    const auto* rows = static_cast<const SortedRowsProxy*>(list->model());
    const QModelIndex current = list->currentIndex();
    if (current.isValid() && list->selectionModel()->isRowSelected(current.row(), {})) {
        return rows->storeRow(current.row());
    }
    const std::vector<int> selected = selectedStoreRows(list);
    return selected.empty() ? -1 : selected.front();
}

std::vector<int> MainWindow::selectedStoreRows(const QTreeView* list) {
    const auto* rows = static_cast<const SortedRowsProxy*>(list->model());
    std::vector<int> shown;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        shown.push_back(index.row());
    std::sort(shown.begin(), shown.end());
    for (int& row : shown)
        row = rows->storeRow(row);
    return shown;
}

ResultList& MainWindow::storeOf(const QTreeView* list) {
    return list == 超级列表框1 ? controller_.magnetList() : controller_.onlineList();
}

int MainWindow::linkColumnOf(const QTreeView* list) const {
    if (list == 超级列表框1) return kMagnetLink;
    return kOnlinePageAddress;
}

void MainWindow::copySelectedLinks(const QTreeView* list) {
    const std::vector<int> rows = selectedStoreRows(list);
    if (rows.empty()) return;
    const ResultList& store = storeOf(list);
    std::string links;
    for (int row : rows) {
        if (!links.empty()) links += '\n';
        links += GbkToUtf8(store.CellText(row, linkColumnOf(list)));
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(links));
}

QString MainWindow::defaultExportPath() {
    QString keyword = FromGbk(controller_.run().keyword());
    // A name, not a path: no folder separators, no control characters.
    for (QChar& c : keyword) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control) c = u'_';
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"));
    return QDir::home().filePath(QStringLiteral("Sirelo-%1-%2.csv").arg(keyword, stamp));
}

void MainWindow::exportListAs(const QTreeView* list) {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出列表"), defaultExportPath(), QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty()) return;
    if (!exportList(list, path)) {
        statusBar()->showMessage(QStringLiteral("导出失败，文件未能写入：%1").arg(path), 10000);
    }
}

bool MainWindow::exportList(const QTreeView* list, const QString& path) {
    const auto* rows = static_cast<const SortedRowsProxy*>(list->model());
    const ResultList& store = storeOf(list);
    const int columns = rows->columnCount();
    std::string csv(kUtf8ByteOrderMark);
    std::vector<std::string> cells(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column) {
        cells[static_cast<std::size_t>(column)] =
            rows->headerData(column, Qt::Horizontal).toString().toStdString();
    }
    AppendCsvLine(csv, cells);
    for (int shown = 0; shown < rows->rowCount(); ++shown) {
        const int row = rows->storeRow(shown);
        for (int column = 0; column < columns; ++column)
            cells[static_cast<std::size_t>(column)] = GbkToUtf8(store.CellText(row, column));
        AppendCsvLine(csv, cells);
    }
    return WriteWholeFile(QFile::encodeName(path).toStdString(), csv);
}

// The link always goes to the clipboard; only a magnet link goes on to the
// system's handler, since the cell holds whatever the page said.
void MainWindow::copyMagnetLink() {
    const int row = selectedStoreRow(超级列表框1);
    if (row < 0) return;
    const QString link = FromGbk(controller_.magnetList().CellText(row, kMagnetLink));
    QGuiApplication::clipboard()->setText(link);
    if (IsMagnetLink(link.toStdString())) QDesktopServices::openUrl(QUrl(link));
}

void MainWindow::openOnlinePage() {
    const int row = selectedStoreRow(超级列表框2);
    const std::string address = controller_.onlineList().CellText(row, kOnlinePageAddress);
    if (MayOpenOnlinePage(controller_.definitions(),
                          controller_.onlineList().CellText(row, kOnlineSite), address)) {
        QDesktopServices::openUrl(QUrl(FromGbk(address)));
    }
}

void MainWindow::showMagnetMenu(QContextMenuEvent::Reason reason) {
    popUpMenu(磁力链接, 超级列表框1, reason);
}

void MainWindow::showOnlineMenu(QContextMenuEvent::Reason reason) {
    popUpMenu(在线播放菜单, 超级列表框2, reason);
}

void MainWindow::popUpMenu(QMenu* menu, QTreeView* list, QContextMenuEvent::Reason reason) {
    const int row = selectedStoreRow(list);
    if (row < 0) return;
    menu->actions().at(1)->setText(
        QStringLiteral("复制所选链接（%1）").arg(list->selectionModel()->selectedRows().size()));
    if (reason == QContextMenuEvent::Mouse) {
        menu->popup(QCursor::pos());
        return;
    }
    const auto* rows = static_cast<const SortedRowsProxy*>(list->model());
    const QModelIndex shown = rows->index(rows->viewRow(row), 0);
    list->scrollTo(shown);
    menu->popup(list->viewport()->mapToGlobal(list->visualRect(shown).bottomLeft()));
    menu->setActiveAction(menu->actions().value(0));
}

void MainWindow::actOnSelectedRow(const QTreeView* list) {
    if (list == 超级列表框1) {
        copyMagnetLink();
    } else if (selectedStoreRow(超级列表框2) >= 0) {
        openOnlinePage();
    }
}

bool MainWindow::clickActs(QElapsedTimer& frame) {
    if (frame.isValid() && frame.elapsed() < QApplication::doubleClickInterval()) return false;
    frame.start();
    return true;
}

void MainWindow::openSponsorWindow() {
    SponsorWindow sponsor(this);
    sponsor.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    QTreeView* list = nullptr;
    for (QTreeView* candidate : {超级列表框1, 超级列表框2}) {
        if (watched == candidate || watched == candidate->viewport()) list = candidate;
    }
    if (list == nullptr) return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                actOnSelectedRow(list);
            }
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                actOnSelectedRow(list);
                return true;
            }
            if (key->matches(QKeySequence::Copy)) {
                copySelectedLinks(list);
                return true;
            }
            if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
                list == 超级列表框1 ? showMagnetMenu(QContextMenuEvent::Keyboard)
                                    : showOnlineMenu(QContextMenuEvent::Keyboard);
                return true;
            }
            break;
        }
        case QEvent::ContextMenu: {
            const auto reason = static_cast<QContextMenuEvent*>(event)->reason();
            list == 超级列表框1 ? showMagnetMenu(reason) : showOnlineMenu(reason);
            return true;
        }
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

QPushButton* MainWindow::button(RunButton which) const {
    switch (which) {
        case RunButton::Search:
            return 搜索_按钮;
        case RunButton::Stop:
            return 停止_按钮;
        case RunButton::Pause:
            return 暂停_按钮;
        case RunButton::Continue:
            return 继续_按钮;
    }
    return nullptr;
}

void MainWindow::showStatusPanes(const StatusPanes& panes) {
    std::array<QString, 5> texts;
    for (std::size_t pane = 0; pane < texts.size(); ++pane)
        texts[pane] = FromGbk(panes[pane]);
    QMetaObject::invokeMethod(
        this,
        [this, texts] {
            for (std::size_t pane = 0; pane < texts.size(); ++pane) {
                状态条1窗格[pane]->setText(texts[pane]);
            }
        },
        Qt::QueuedConnection);
}

void MainWindow::showOutcomeTips(const OutcomeTips& tips) {
    QMetaObject::invokeMethod(
        this,
        [this, tips] {
            magnetOutcomes_ = tips.magnetPane;
            showPaneZeroTip();
            状态条1窗格[1]->setToolTip(PlainTip(tips.onlinePane));
            // A site left out of this run keeps the tooltip of its last run.
            const SiteDefinitions& sites = controller_.definitions();
            for (std::size_t site = 0; site < tips.magnetSites.size(); ++site) {
                if (!tips.magnetSites[site].empty())
                    settingsPanel_->setSiteToolTip(
                        SiteKind::Magnet, static_cast<int>(site),
                        PlainTip(
                            JoinLines(siteNotes_[sites.magnet[site].id], tips.magnetSites[site])));
            }
            for (std::size_t site = 0; site < tips.onlineSites.size(); ++site) {
                if (!tips.onlineSites[site].empty())
                    settingsPanel_->setSiteToolTip(
                        SiteKind::Online, static_cast<int>(site),
                        PlainTip(
                            JoinLines(siteNotes_[sites.online[site].id], tips.onlineSites[site])));
            }
        },
        Qt::QueuedConnection);
}

void MainWindow::showFeedState(const std::string& line) {
    QMetaObject::invokeMethod(
        this,
        [this, line] {
            feedLine_ = line;
            showPaneZeroTip();
        },
        Qt::QueuedConnection);
}

void MainWindow::showRefusedAddresses(const std::vector<RefusedAddress>& refused) {
    Q_ASSERT(QThread::currentThread() == thread());
    for (const RefusedAddress& address : refused)
        siteNotes_[address.key] = RefusedAddressLine(address);
    showSiteNotes();
}

void MainWindow::showDefinitionProblems(const std::vector<DefinitionProblem>& problems) {
    Q_ASSERT(QThread::currentThread() == thread());
    paneNote_ = RejectedDefinitionsLine(problems, {});
    showPaneZeroTip();
    auto note = [&](const std::string& id) {
        std::string& notes = siteNotes_[id];
        notes = JoinLines(RejectedDefinitionsLine(problems, id), notes);
    };
    for (const MagnetSite& site : controller_.definitions().magnet)
        note(site.id);
    for (const OnlineSite& site : controller_.definitions().online)
        note(site.id);
    showSiteNotes();
}

void MainWindow::showPaneZeroTip() {
    Q_ASSERT(QThread::currentThread() == thread());
    状态条1窗格[0]->setToolTip(
        PlainTip(JoinLines(feedLine_, JoinLines(paneNote_, magnetOutcomes_))));
}

void MainWindow::showSiteNotes() {
    for (const MagnetSite& site : controller_.definitions().magnet) {
        const std::string& note = siteNotes_[site.id];
        if (!note.empty())
            settingsPanel_->setSiteToolTip(SiteKind::Magnet, site.index, PlainTip(note));
    }
    for (const OnlineSite& site : controller_.definitions().online) {
        const std::string& note = siteNotes_[site.id];
        if (!note.empty())
            settingsPanel_->setSiteToolTip(SiteKind::Online, site.index, PlainTip(note));
    }
    const std::string& boardNote = siteNotes_[kBoardAddressKey];
    if (!boardNote.empty())
        选择夹1->setTabToolTip(选择夹1->indexOf(boardTab_), PlainTip(boardNote));
}

void MainWindow::setButtonVisible(RunButton which, bool visible) {
    QMetaObject::invokeMethod(
        this, [this, which, visible] { button(which)->setVisible(visible); }, Qt::QueuedConnection);
}

void MainWindow::setButtonEnabled(RunButton which, bool enabled) {
    QMetaObject::invokeMethod(
        this, [this, which, enabled] { button(which)->setEnabled(enabled); }, Qt::QueuedConnection);
}

void MainWindow::selectTab(int index) {
    QMetaObject::invokeMethod(
        this, [this, index] { 选择夹1->setCurrentIndex(index); }, Qt::QueuedConnection);
}

void MainWindow::beep() {
    QApplication::beep();
}

void MainWindow::showMessage(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, FromGbk(title), FromGbk(text), QMessageBox::Ok, this);
    box.exec();
}

std::string MainWindow::searchText() const {
    std::lock_guard hold(searchTextMutex_);
    return searchText_;
}

}  // namespace sirelo
