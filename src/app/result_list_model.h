#pragma once
// The Qt model over one ResultList. Workers change the store on their own
// threads; the model hears of it, posts one catch-up to the window thread
// however many rows arrive meanwhile, and there tells the view about the new
// rows as one batch.

#include <QAbstractTableModel>
#include <QStringList>
#include <atomic>

#include "sites/result_list.h"

namespace sirelo {

class ResultListModel : public QAbstractTableModel, private ResultListObserver {
    Q_OBJECT

  public:
    ResultListModel(ResultList& list, QStringList headers, QObject* parent = nullptr);
    ~ResultListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const ResultList& list() const { return list_; }

    // Brings the view up to the store now (window thread).
    void publish();

  signals:
    // After a worker asked for `row` to be shown and the row is published.
    void scrollToRowRequested(int row);

  private:
    void rowsChanged() override;
    void scrollRequested(int row) override;
    void postPublish();

    ResultList& list_;
    const QStringList headers_;
    int shownRows_ = 0;
    std::atomic<bool> publishPosted_{false};
    std::atomic<int> rowToShow_{-1};
};

}  // namespace sirelo
