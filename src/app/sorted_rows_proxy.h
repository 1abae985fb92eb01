#pragma once
// Sorting between a ResultListModel and its view: a click on a header sorts
// by that column, a second reverses, a third returns to the order of arrival
// (sort column -1). The cells stay as the model shows them; only the order of
// the rows changes. Rows that arrive while sorted are merged into their places
// in one layout change per batch, so a stream of rows never freezes the window.
// Window thread only.

#include <QAbstractProxyModel>
#include <functional>
#include <string>
#include <vector>

#include "app/cell_order.h"

namespace sirelo {

class ResultListModel;

class SortedRowsProxy : public QAbstractProxyModel {
    Q_OBJECT

  public:
    using ColumnOrder = std::function<CellOrder(int column)>;
    SortedRowsProxy(ResultListModel* source, ColumnOrder columnOrder, QObject* parent = nullptr);

    // The store's row shown as view row `viewRow`, and back; -1 for none.
    int storeRow(int viewRow) const;
    int viewRow(int storeRow) const;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // A flat list: answered here, without a trip to the source per row.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  private:
    bool sorted() const { return sortColumn_ >= 0; }
    void sourceRowsInserted(int first, int last);
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void sourceReset();
    // Reads the sort keys of store rows [first, last].
    void readKeys(int first, int last);
    bool before(int leftRow, int rightRow) const;
    // Reads every row's key and puts all the rows in order.
    void orderEveryRow();
    // Puts `rows` (store rows, not shown yet or taken out) into their sorted places.
    void mergeIntoOrder(std::vector<int> rows);
    // Runs `reorder` as one layout change that keeps the view's selection.
    void relayout(const std::function<void()>& reorder);

    ResultListModel* source_;
    const ColumnOrder columnOrder_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool textKeys_ = false;           // the sort column compares texts, not values
    std::vector<double> values_;      // per store row, for a numeric sort column
    std::vector<std::string> texts_;  // per store row, for a text sort column
    std::vector<int> storeRowOf_;     // view row -> store row, while sorted
    std::vector<int> viewRowOf_;      // store row -> view row, while sorted
};

}  // namespace sirelo
