#include "app/result_list_model.h"

#include <QMetaObject>
#include <algorithm>
#include <utility>

#include "widgets/shown_text.h"

namespace sirelo {

ResultListModel::ResultListModel(ResultList& list, QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), list_(list), headers_(std::move(headers)) {
    list_.setObserver(this);
    shownRows_ = list_.takeUpdate().rowCount;
}

ResultListModel::~ResultListModel() {
    list_.setObserver(nullptr);
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.columnCount();
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return ShownText(list_.CellText(index.row(), index.column()));
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return section < headers_.size() ? QVariant(headers_[section]) : QVariant();
}

void ResultListModel::publish() {
    publishPosted_ = false;
    const ResultList::Update update = list_.takeUpdate();
    const int oldRows = shownRows_;
    if (update.cleared) {
        beginResetModel();
        shownRows_ = update.rowCount;
        endResetModel();
    } else {
        if (update.rowCount > shownRows_) {
            beginInsertRows({}, shownRows_, update.rowCount - 1);
            shownRows_ = update.rowCount;
            endInsertRows();
        }
        const int lastChanged = std::min({oldRows - 1, shownRows_ - 1, update.lastChangedRow});
        if (update.firstChangedRow >= 0 && update.firstChangedRow <= lastChanged) {
            emit dataChanged(index(update.firstChangedRow, 0),
                             index(lastChanged, list_.columnCount() - 1));
        }
    }
    const int row = rowToShow_.exchange(-1);
    if (row >= 0 && row < shownRows_) emit scrollToRowRequested(row);
}

void ResultListModel::rowsChanged() {
    postPublish();
}

void ResultListModel::scrollRequested(int row) {
    rowToShow_ = row;
    postPublish();
}

void ResultListModel::postPublish() {
    if (publishPosted_.exchange(true)) return;
    QMetaObject::invokeMethod(this, &ResultListModel::publish, Qt::QueuedConnection);
}

}  // namespace sirelo
