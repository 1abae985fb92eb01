#include "app/filter_bar.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

#include "app/row_filter.h"
#include "app/sorted_rows_proxy.h"

namespace sirelo {
namespace {

constexpr int kBarHeight = 25;
constexpr int kCountWidth = 160;

}  // namespace

FilterBar::FilterBar(QTreeView* list, SortedRowsProxy* rows)
    : QWidget(list->parentWidget()),
      list_(list),
      rows_(rows),
      box_(new QLineEdit(this)),
      count_(new QLabel(this)),
      listHeight_(list->height()) {
    const QRect place = list->geometry();
    setGeometry(place.x(), place.bottom() + 1 - kBarHeight, place.width(), kBarHeight);
    box_->setObjectName(QStringLiteral("过滤_编辑框"));
    box_->setGeometry(0, 0, place.width() - kCountWidth, kBarHeight);
    box_->setPlaceholderText(QStringLiteral("过滤：名称中的词语；>2GB、<700MB 比较文件大小"));
    box_->setClearButtonEnabled(true);
    count_->setObjectName(QStringLiteral("过滤_标签"));
    count_->setGeometry(place.width() - kCountWidth + 8, 0, kCountWidth - 8, kBarHeight);
    hide();

    connect(box_, &QLineEdit::textChanged, this, [this](const QString& text) {
        rows_->setFilter(ParseRowFilter(text.toStdString()));
        showCount();
    });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(rows_, signal, this, &FilterBar::showCount);
    }
    connect(rows_, &QAbstractItemModel::layoutChanged, this, &FilterBar::showCount);
    connect(rows_, &QAbstractItemModel::modelReset, this, &FilterBar::showCount);
    box_->installEventFilter(this);
    list_->installEventFilter(this);
}

void FilterBar::open() {
    if (isHidden()) {
        list_->resize(list_->width(), listHeight_ - kBarHeight);
        show();
        showCount();
    }
    box_->setFocus();
    box_->selectAll();
}

void FilterBar::close() {
    box_->clear();
    if (isHidden()) return;
    const bool hadFocus = box_->hasFocus();
    hide();
    list_->resize(list_->width(), listHeight_);
    if (hadFocus) list_->setFocus();
}

QString FilterBar::countText() const {
    return count_->text();
}

void FilterBar::showCount() {
    // An unseen bar's count can wait for the bar to open.
    if (isHidden()) return;
    count_->setText(
        QStringLiteral("显示 %1 / %2").arg(rows_->rowCount()).arg(rows_->storeRowCount()));
}

bool FilterBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !isHidden() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        (watched == box_ || watched == list_)) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace sirelo
