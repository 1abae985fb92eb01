#include "app/sorted_rows_proxy.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "app/result_list_model.h"

namespace sirelo {

SortedRowsProxy::SortedRowsProxy(ResultListModel* source, Columns columns, QObject* parent)
    : QAbstractProxyModel(parent), source_(source), columns_(std::move(columns)) {
    QAbstractProxyModel::setSourceModel(source);
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (!ordered()) beginInsertRows({}, first, last);
            });
    connect(source, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { sourceRowsInserted(first, last); });
    connect(source, &QAbstractItemModel::dataChanged, this, &SortedRowsProxy::sourceDataChanged);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, &SortedRowsProxy::sourceReset);
}

int SortedRowsProxy::storeRow(int viewRow) const {
    if (viewRow < 0 || viewRow >= rowCount()) return -1;
    return ordered() ? storeRowOf_[static_cast<std::size_t>(viewRow)] : viewRow;
}

int SortedRowsProxy::viewRow(int storeRow) const {
    if (!ordered()) return storeRow >= 0 && storeRow < rowCount() ? storeRow : -1;
    if (storeRow < 0 || static_cast<std::size_t>(storeRow) >= viewRowOf_.size()) return -1;
    return viewRowOf_[static_cast<std::size_t>(storeRow)];
}

int SortedRowsProxy::storeRowCount() const {
    return source_->rowCount();
}

void SortedRowsProxy::setFilter(RowFilter filter) {
    relayout([&] {
        filter_ = std::move(filter);
        storeRowOf_.clear();
        viewRowOf_.clear();
        passes_.clear();
        if (!ordered()) return;
        testRows(0, storeRowCount() - 1);
        placeEveryRow();
    });
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

// While ordered, the view sees the rows that have been merged into the order.
int SortedRowsProxy::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return ordered() ? static_cast<int>(storeRowOf_.size()) : source_->rowCount();
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
        if (!ordered()) return;
        if (sorted()) textKeys_ = columns_.order(column) == CellOrder::Text;
        orderEveryRow();
    });
}

bool SortedRowsProxy::passes(int storeRow) const {
    return !filtering() || passes_[static_cast<std::size_t>(storeRow)] != 0;
}

void SortedRowsProxy::testRows(int first, int last) {
    if (!filtering() || last < first) return;
    if (passes_.size() < static_cast<std::size_t>(last) + 1) passes_.resize(last + 1);
    const ResultList& list = source_->list();
    const std::vector<std::string> names = list.ColumnTexts(first, last, columns_.name);
    const std::vector<std::string> sizes = list.ColumnTexts(first, last, columns_.size);
    for (int row = first; row <= last; ++row) {
        const auto at = static_cast<std::size_t>(row - first);
        passes_[static_cast<std::size_t>(row)] =
            RowPasses(filter_, at < names.size() ? names[at] : std::string(),
                      at < sizes.size() ? sizes[at] : std::string());
    }
}

// New rows are shown at the end first, as the view expects rows to arrive,
// then moved to their places.
void SortedRowsProxy::sourceRowsInserted(int first, int last) {
    if (!ordered()) {
        endInsertRows();
        return;
    }
    if (sorted()) readKeys(first, last);
    testRows(first, last);
    viewRowOf_.resize(static_cast<std::size_t>(last) + 1, -1);
    std::vector<int> added;
    for (int row = first; row <= last; ++row) {
        if (passes(row)) added.push_back(row);
    }
    if (added.empty()) return;
    const int shown = rowCount();
    beginInsertRows({}, shown, shown + static_cast<int>(added.size()) - 1);
    for (int row : added) {
        viewRowOf_[static_cast<std::size_t>(row)] = static_cast<int>(storeRowOf_.size());
        storeRowOf_.push_back(row);
    }
    endInsertRows();
    // In the order of arrival the new rows already stand in their places.
    if (!sorted()) return;
    relayout([&] {
        storeRowOf_.resize(static_cast<std::size_t>(shown));
        mergeIntoOrder(std::move(added));
    });
}

void SortedRowsProxy::sourceDataChanged(const QModelIndex& topLeft,
                                        const QModelIndex& bottomRight) {
    if (!ordered()) {
        emit dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight));
        return;
    }
    const int first = topLeft.row();
    const int last = std::min(bottomRight.row(), static_cast<int>(viewRowOf_.size()) - 1);
    auto touches = [&](int column) {
        return column >= topLeft.column() && column <= bottomRight.column();
    };
    if (first <= last) {
        const auto from = static_cast<std::size_t>(first), to = static_cast<std::size_t>(last) + 1;
        std::vector<char> keyChanged(to - from, 0);
        if (sorted() && touches(sortColumn_)) {
            std::vector<double> oldValues;
            std::vector<std::string> oldTexts;
            if (textKeys_) {
                oldTexts.assign(texts_.begin() + from, texts_.begin() + to);
            } else {
                oldValues.assign(values_.begin() + from, values_.begin() + to);
            }
            readKeys(first, last);
            for (std::size_t row = from; row < to; ++row) {
                keyChanged[row - from] = textKeys_ ? texts_[row] != oldTexts[row - from]
                                                   : values_[row] != oldValues[row - from];
            }
        }
        if (touches(columns_.name) || touches(columns_.size)) testRows(first, last);
        // A row moves when its key changed, comes when it passes now, goes when it fails.
        std::vector<int> taken, placed;
        for (int row = first; row <= last; ++row) {
            const bool shown = viewRowOf_[static_cast<std::size_t>(row)] >= 0;
            const bool moved = keyChanged[static_cast<std::size_t>(row) - from] != 0;
            if (shown && (moved || !passes(row))) taken.push_back(row);
            if (passes(row) && (moved || !shown)) placed.push_back(row);
        }
        if (!taken.empty() || !placed.empty()) {
            relayout([&] {
                std::vector<bool> out(viewRowOf_.size(), false);
                for (int row : taken)
                    out[static_cast<std::size_t>(row)] = true;
                std::erase_if(storeRowOf_,
                              [&](int row) { return out[static_cast<std::size_t>(row)]; });
                mergeIntoOrder(std::move(placed));
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
    passes_.clear();
    if (ordered()) {
        testRows(0, storeRowCount() - 1);
        orderEveryRow();
    }
    endResetModel();
}

void SortedRowsProxy::readKeys(int first, int last) {
    if (last < first) return;
    const CellOrder order = columns_.order(sortColumn_);
    const auto size = static_cast<std::size_t>(last) + 1;
    if (textKeys_) {
        if (texts_.size() < size) texts_.resize(size);
    } else if (values_.size() < size) {
        values_.resize(size);
    }
    std::vector<std::string> cells = source_->list().ColumnTexts(first, last, sortColumn_);
    cells.resize(static_cast<std::size_t>(last - first) + 1);
    for (int row = first; row <= last; ++row) {
        std::string& cell = cells[static_cast<std::size_t>(row - first)];
        if (textKeys_) {
            texts_[static_cast<std::size_t>(row)] = std::move(cell);
        } else {
            values_[static_cast<std::size_t>(row)] = CellValue(order, cell);
        }
    }
}

// Equal keys keep the order of arrival, either way round.
bool SortedRowsProxy::before(int leftRow, int rightRow) const {
    if (!sorted()) return leftRow < rightRow;
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
    if (sorted()) readKeys(0, storeRowCount() - 1);
    placeEveryRow();
}

void SortedRowsProxy::placeEveryRow() {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(storeRowCount()));
    for (int row = 0; row < storeRowCount(); ++row) {
        if (passes(row)) rows.push_back(row);
    }
    mergeIntoOrder(std::move(rows));
}

void SortedRowsProxy::mergeIntoOrder(std::vector<int> rows) {
    auto less = [this](int left, int right) { return before(left, right); };
    if (!sorted() || textKeys_) {
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
    viewRowOf_.assign(static_cast<std::size_t>(storeRowCount()), -1);
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
