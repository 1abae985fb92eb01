#pragma once
// A result list (超级列表框1 or 超级列表框2) as a thread-safe row store: every
// operation may be called on any thread and takes effect before it returns.
// Cells are GBK texts. One column, the magnet links', can be indexed so that
// FindRowByCell on it costs O(1) instead of a scan of every row, and so does
// FindRowByInfoHash, the first row whose link names a given torrent.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sites/info_hash.h"

namespace sirelo {

// Told about changes, on the thread that made them, after the store's own lock
// is released. The window's model implements it by posting to the window thread.
class ResultListObserver {
  public:
    virtual ~ResultListObserver() = default;
    virtual void rowsChanged() = 0;
    virtual void scrollRequested(int row) = 0;
};

class ResultList {
  public:
    // What the view needs to catch up with the store since its last update.
    struct Update {
        bool cleared = false;      // every row the view shows is gone
        int rowCount = 0;          // rows in the store now
        int firstChangedRow = -1;  // earliest row the view has whose cells changed, -1 for none
        int lastChangedRow = -1;   // latest such row
    };

    explicit ResultList(int columnCount, int indexedColumn = -1);

    int RowCount() const;
    void DeleteAllRows();
    // Appends a row with `firstCell` in column 0 and empty cells elsewhere; returns its index.
    int AppendRow(std::string firstCell);
    void SetCell(int row, int column, std::string text);
    // Empty for a cell out of range.
    std::string CellText(int row, int column) const;
    // The cells of rows [first, last] in `column`, read under one hold of the
    // store's lock, so a view reading many rows does not queue behind the
    // workers once per cell.
    std::vector<std::string> ColumnTexts(int first, int last, int column) const;
    // The first row whose cell in `column` equals `text` byte for byte; -1 when none.
    int FindRowByCell(std::string_view text, int column) const;
    // The first row whose indexed cell is a magnet link naming `hash`; -1 when none.
    int FindRowByInfoHash(const InfoHash& hash) const;
    void ScrollIntoView(int row);

    int columnCount() const { return columnCount_; }
    // Set by the view when it appears and cleared before it goes; the view must
    // not go while a thread may still be inside one of its calls.
    void setObserver(ResultListObserver* observer);
    // Called by the view: the changes since the previous call.
    Update takeUpdate();

  private:
    struct TransparentHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    using Index = std::unordered_map<std::string, int, TransparentHash, std::equal_to<>>;
    using HashIndex = std::unordered_map<InfoHash, int, InfoHashHasher>;

    void notifyChanged() const;
    void reindexAfterRemoval(const std::string& text, int row);
    void reindexHashAfterRemoval(const InfoHash& hash, int row);

    const int columnCount_;
    const int indexedColumn_;
    mutable std::mutex mutex_;
    std::vector<std::vector<std::string>> rows_;
    Index firstRowByText_;
    HashIndex firstRowByHash_;
    bool clearedSinceUpdate_ = false;
    // Rows past the last update are new to the view; only a change to a row
    // it has is one it must hear of.
    int rowsInLastUpdate_ = 0;
    int firstChangedRow_ = -1;
    int lastChangedRow_ = -1;
    std::atomic<ResultListObserver*> observer_{nullptr};
};

}  // namespace sirelo
