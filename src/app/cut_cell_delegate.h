#pragma once
// Draws result-list cells as the default delegate does, and shows a cell's
// full text as its tooltip when the column is too narrow for it.

#include <QStyledItemDelegate>

namespace sirelo {

class CutCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Whether the cell's text is cut where it is drawn now.
    bool isCut(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};

}  // namespace sirelo
