#pragma once
// The filter bar under a result list: a one-line box that narrows the rows
// shown as it is typed in, and "显示 12 / 44" (rows shown / rows in the list).
// While the bar is shown the list gives up the bar's height. Escape in the box
// or the list clears it and hides it. Window thread only.

#include <QWidget>

class QLabel;
class QLineEdit;
class QTreeView;

namespace sirelo {

class SortedRowsProxy;

class FilterBar : public QWidget {
    Q_OBJECT

  public:
    // Placed under `list`, on the same page.
    FilterBar(QTreeView* list, SortedRowsProxy* rows);

    // Shows the bar and puts the cursor in its box.
    void open();
    // Clears the filter, hides the bar and gives the list its height back.
    void close();

    QLineEdit* box() const { return box_; }
    QString countText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showCount();

    QTreeView* list_;
    SortedRowsProxy* rows_;
    QLineEdit* box_;
    QLabel* count_;
    int listHeight_;  // the list's height without the bar
};

}  // namespace sirelo
