#pragma once
// Sorting and filtering between a ResultListModel and its view: a click on a
// header sorts by that column, a second reverses, a third returns to the order
// of arrival (sort column -1); the filter bar's RowFilter leaves out the rows
// that fail it. The cells stay as the model shows them; only which rows are
// shown and their order change. Rows that arrive while sorted or filtered are
// tested and merged into their places in one layout change per batch, so a
// stream of rows never freezes the window. Window thread only.

#include <QAbstractProxyModel>
#include <functional>
#include <string>
#include <vector>

#include "app/cell_order.h"
#include "app/row_filter.h"

namespace sirelo {

class ResultListModel;

class SortedRowsProxy : public QAbstractProxyModel {
    Q_OBJECT

  public:
    using ColumnOrder = std::function<CellOrder(int column)>;
    struct Columns {
        ColumnOrder order;
        int name = -1;  // the column the filter's words look in
        int size = -1;  // the column its size words read; -1: no row has a size
    };
    SortedRowsProxy(ResultListModel* source, Columns columns, QObject* parent = nullptr);

    // Shows only the rows that pass `filter` from now on; an empty one shows all.
    void setFilter(RowFilter filter);
    bool filtering() const { return !filter_.empty(); }
    // The rows of the store, shown or not.
    int storeRowCount() const;

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
    // Whether the view's rows are a chosen subset or order of the store's,
    // kept in storeRowOf_; otherwise view row and store row are the same.
    bool ordered() const { return sorted() || filtering(); }
    bool passes(int storeRow) const;
    // Tests store rows [first, last] against the filter.
    void testRows(int first, int last);
    void sourceRowsInserted(int first, int last);
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void sourceReset();
    // Reads the sort keys of store rows [first, last].
    void readKeys(int first, int last);
    bool before(int leftRow, int rightRow) const;
    // Reads every row's key and puts all the rows that pass in order.
    void orderEveryRow();
    // Puts all the rows that pass in order, with the keys read before.
    void placeEveryRow();
    // Puts `rows` (store rows, not shown yet or taken out) into their places.
    void mergeIntoOrder(std::vector<int> rows);
    // Runs `reorder` as one layout change that keeps the view's selection.
    void relayout(const std::function<void()>& reorder);

    ResultListModel* source_;
    const Columns columns_;
    RowFilter filter_;
    std::vector<char> passes_;  // per store row, while filtering
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool textKeys_ = false;           // the sort column compares texts, not values
    std::vector<double> values_;      // per store row, for a numeric sort column
    std::vector<std::string> texts_;  // per store row, for a text sort column
    std::vector<int> storeRowOf_;     // view row -> store row, while ordered
    std::vector<int> viewRowOf_;      // store row -> view row or -1, while ordered
};

}  // namespace sirelo
