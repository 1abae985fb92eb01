#include "app/sorted_rows_proxy.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "app/result_list_model.h"

namespace sirelo {

SortedRowsProxy::SortedRowsProxy(ResultListModel* source, ColumnOrder columnOrder, QObject* parent)
    : QAbstractProxyModel(parent), source_(source), columnOrder_(std::move(columnOrder)) {
    QAbstractProxyModel::setSourceModel(source);
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (!sorted()) beginInsertRows({}, first, last);
            });
    connect(source, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { sourceRowsInserted(first, last); });
    connect(source, &QAbstractItemModel::dataChanged, this, &SortedRowsProxy::sourceDataChanged);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, &SortedRowsProxy::sourceReset);
}

int SortedRowsProxy::storeRow(int viewRow) const {
    if (viewRow < 0 || viewRow >= rowCount()) return -1;
    return sorted() ? storeRowOf_[static_cast<std::size_t>(viewRow)] : viewRow;
}

int SortedRowsProxy::viewRow(int storeRow) const {
    if (storeRow < 0 || storeRow >= rowCount()) return -1;
    return sorted() ? viewRowOf_[static_cast<std::size_t>(storeRow)] : storeRow;
}

QModelIndex SortedRowsProxy::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid()) return {};
    return source_->index(storeRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex SortedRowsProxy::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid()) return {};
    return index(viewRow(sourceIndex.row()), sourceIndex.column());
}

QModelIndex SortedRowsProxy::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return {};
    }
    return createIndex(row, column);
}

QModelIndex SortedRowsProxy::parent(const QModelIndex&) const {
    return {};
}

// While sorted, the view sees the rows that have been merged into the order.
int SortedRowsProxy::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return sorted() ? static_cast<int>(storeRowOf_.size()) : source_->rowCount();
}

int SortedRowsProxy::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : source_->columnCount();
}

bool SortedRowsProxy::hasChildren(const QModelIndex& parent) const {
    return !parent.isValid() && rowCount() > 0;
}

Qt::ItemFlags SortedRowsProxy::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QVariant SortedRowsProxy::headerData(int section, Qt::Orientation orientation, int role) const {
    return source_->headerData(section, orientation, role);
}

void SortedRowsProxy::sort(int column, Qt::SortOrder order) {
    if (column >= columnCount()) return;
    relayout([&] {
        sortColumn_ = column;
        sortOrder_ = order;
        storeRowOf_.clear();
        viewRowOf_.clear();
        values_.clear();
        texts_.clear();
        if (!sorted()) return;
        textKeys_ = columnOrder_(column) == CellOrder::Text;
        orderEveryRow();
    });
}

// New rows are shown at the end first, as the view expects rows to arrive,
// then moved to their places.
void SortedRowsProxy::sourceRowsInserted(int first, int last) {
    if (!sorted()) {
        endInsertRows();
        return;
    }
    readKeys(first, last);
    const int shown = rowCount();
    beginInsertRows({}, shown, shown + last - first);
    viewRowOf_.resize(static_cast<std::size_t>(last) + 1);
    std::vector<int> added;
    for (int row = first; row <= last; ++row) {
        viewRowOf_[static_cast<std::size_t>(row)] = static_cast<int>(storeRowOf_.size());
        storeRowOf_.push_back(row);
        added.push_back(row);
    }
    endInsertRows();
    relayout([&] {
        storeRowOf_.resize(static_cast<std::size_t>(shown));
        mergeIntoOrder(std::move(added));
    });
}

void SortedRowsProxy::sourceDataChanged(const QModelIndex& topLeft,
                                        const QModelIndex& bottomRight) {
    if (!sorted()) {
        emit dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight));
        return;
    }
    const int first = topLeft.row(), last = std::min(bottomRight.row(), rowCount() - 1);
    if (sortColumn_ >= topLeft.column() && sortColumn_ <= bottomRight.column() && first <= last) {
        const auto from = static_cast<std::size_t>(first), to = static_cast<std::size_t>(last) + 1;
        std::vector<double> oldValues;
        std::vector<std::string> oldTexts;
        if (textKeys_) {
            oldTexts.assign(texts_.begin() + from, texts_.begin() + to);
        } else {
            oldValues.assign(values_.begin() + from, values_.begin() + to);
        }
        readKeys(first, last);
        std::vector<int> moved;
        for (std::size_t row = from; row < to; ++row) {
            if (textKeys_ ? texts_[row] != oldTexts[row - from]
                          : values_[row] != oldValues[row - from]) {
                moved.push_back(static_cast<int>(row));
            }
        }
        if (!moved.empty()) {
            relayout([&] {
                std::vector<bool> taken(viewRowOf_.size(), false);
                for (int row : moved)
                    taken[static_cast<std::size_t>(row)] = true;
                std::erase_if(storeRowOf_,
                              [&](int row) { return taken[static_cast<std::size_t>(row)]; });
                mergeIntoOrder(std::move(moved));
            });
        }
    }
    if (rowCount() > 0) {
        emit dataChanged(index(0, topLeft.column()), index(rowCount() - 1, bottomRight.column()));
    }
}

void SortedRowsProxy::sourceReset() {
    storeRowOf_.clear();
    viewRowOf_.clear();
    values_.clear();
    texts_.clear();
    if (sorted()) orderEveryRow();
    endResetModel();
}

void SortedRowsProxy::readKeys(int first, int last) {
    if (last < first) return;
    const CellOrder order = columnOrder_(sortColumn_);
    const auto size = static_cast<std::size_t>(last) + 1;
    if (textKeys_) {
        if (texts_.size() < size) texts_.resize(size);
    } else if (values_.size() < size) {
        values_.resize(size);
    }
    const ResultList& list = source_->list();
    for (int row = first; row <= last; ++row) {
        std::string cell = list.CellText(row, sortColumn_);
        if (textKeys_) {
            texts_[static_cast<std::size_t>(row)] = std::move(cell);
        } else {
            values_[static_cast<std::size_t>(row)] = CellValue(order, cell);
        }
    }
}

// Equal keys keep the order of arrival, either way round.
bool SortedRowsProxy::before(int leftRow, int rightRow) const {
    const auto left = static_cast<std::size_t>(leftRow), right = static_cast<std::size_t>(rightRow);
    int compared;
    if (textKeys_) {
        compared = texts_[left].compare(texts_[right]);
    } else {
        compared = values_[left] < values_[right] ? -1 : values_[left] > values_[right] ? 1 : 0;
    }
    if (sortOrder_ == Qt::DescendingOrder) compared = -compared;
    return compared != 0 ? compared < 0 : leftRow < rightRow;
}

void SortedRowsProxy::orderEveryRow() {
    const int rows = source_->rowCount();
    readKeys(0, rows - 1);
    std::vector<int> all(static_cast<std::size_t>(rows));
    std::iota(all.begin(), all.end(), 0);
    mergeIntoOrder(std::move(all));
}

void SortedRowsProxy::mergeIntoOrder(std::vector<int> rows) {
    auto less = [this](int left, int right) { return before(left, right); };
    if (textKeys_) {
        std::sort(rows.begin(), rows.end(), less);
    } else {
        // Values beside their rows sort several times faster than rows looked up.
        const double sign = sortOrder_ == Qt::DescendingOrder ? -1.0 : 1.0;
        std::vector<std::pair<double, int>> keyed;
        keyed.reserve(rows.size());
        for (int row : rows)
            keyed.emplace_back(sign * values_[static_cast<std::size_t>(row)], row);
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t i = 0; i < keyed.size(); ++i)
            rows[i] = keyed[i].second;
    }
    std::vector<int> merged(storeRowOf_.size() + rows.size());
    std::merge(storeRowOf_.begin(), storeRowOf_.end(), rows.begin(), rows.end(), merged.begin(),
               less);
    storeRowOf_ = std::move(merged);
    viewRowOf_.assign(storeRowOf_.size(), -1);
    for (std::size_t view = 0; view < storeRowOf_.size(); ++view)
        viewRowOf_[static_cast<std::size_t>(storeRowOf_[view])] = static_cast<int>(view);
}

void SortedRowsProxy::relayout(const std::function<void()>& reorder) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> stores;
    for (const QModelIndex& index : before)
        stores.push_back(storeRow(index.row()));
    reorder();
    QModelIndexList after;
    for (std::size_t i = 0; i < stores.size(); ++i)
        after.append(index(viewRow(stores[i]), before[static_cast<qsizetype>(i)].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace sirelo
