#include "sites/result_list.h"

#include <algorithm>
#include <utility>

namespace sirelo {

ResultList::ResultList(int columnCount, int indexedColumn)
    : columnCount_(columnCount), indexedColumn_(indexedColumn) {}

int ResultList::RowCount() const {
    std::lock_guard hold(mutex_);
    return static_cast<int>(rows_.size());
}

void ResultList::DeleteAllRows() {
    {
        std::lock_guard hold(mutex_);
        rows_.clear();
        firstRowByText_.clear();
        firstRowByHash_.clear();
        clearedSinceUpdate_ = true;
        rowsInLastUpdate_ = 0;
        firstChangedRow_ = -1;
        lastChangedRow_ = -1;
    }
    notifyChanged();
}

int ResultList::AppendRow(std::string firstCell) {
    int row;
    {
        std::lock_guard hold(mutex_);
        row = static_cast<int>(rows_.size());
        std::vector<std::string>& cells = rows_.emplace_back(columnCount_);
        if (columnCount_ > 0) cells[0] = std::move(firstCell);
        if (indexedColumn_ >= 0 && indexedColumn_ < columnCount_) {
            firstRowByText_.try_emplace(cells[indexedColumn_], row);
            if (const auto hash = InfoHashOf(cells[indexedColumn_])) {
                firstRowByHash_.try_emplace(*hash, row);
            }
        }
    }
    notifyChanged();
    return row;
}

void ResultList::SetCell(int row, int column, std::string text) {
    {
        std::lock_guard hold(mutex_);
        if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 ||
            column >= columnCount_) {
            return;
        }
        std::string& cell = rows_[row][column];
        if (column == indexedColumn_ && cell != text) {
            const std::string old = std::exchange(cell, std::move(text));
            reindexAfterRemoval(old, row);
            auto [entry, inserted] = firstRowByText_.try_emplace(cell, row);
            if (!inserted && entry->second > row) entry->second = row;
            const auto oldHash = InfoHashOf(old), newHash = InfoHashOf(cell);
            if (oldHash != newHash) {
                if (oldHash) reindexHashAfterRemoval(*oldHash, row);
                if (newHash) {
                    auto [found, added] = firstRowByHash_.try_emplace(*newHash, row);
                    if (!added && found->second > row) found->second = row;
                }
            }
        } else {
            cell = std::move(text);
        }
        if (row < rowsInLastUpdate_) {
            firstChangedRow_ = firstChangedRow_ < 0 ? row : std::min(firstChangedRow_, row);
            lastChangedRow_ = std::max(lastChangedRow_, row);
        }
    }
    notifyChanged();
}

std::string ResultList::CellText(int row, int column) const {
    std::lock_guard hold(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= columnCount_) {
        return {};
    }
    return rows_[row][column];
}

std::vector<std::string> ResultList::ColumnTexts(int first, int last, int column) const {
    std::vector<std::string> texts;
    std::lock_guard hold(mutex_);
    if (column < 0 || column >= columnCount_) return texts;
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(rows_.size()) - 1);
    for (int row = first; row <= last; ++row)
        texts.push_back(rows_[static_cast<std::size_t>(row)][column]);
    return texts;
}

int ResultList::FindRowByCell(std::string_view text, int column) const {
    std::lock_guard hold(mutex_);
    if (column < 0 || column >= columnCount_) return -1;
    if (column == indexedColumn_) {
        auto entry = firstRowByText_.find(text);
        return entry == firstRowByText_.end() ? -1 : entry->second;
    }
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row][column] == text) return static_cast<int>(row);
    }
    return -1;
}

int ResultList::FindRowByInfoHash(const InfoHash& hash) const {
    std::lock_guard hold(mutex_);
    auto entry = firstRowByHash_.find(hash);
    return entry == firstRowByHash_.end() ? -1 : entry->second;
}

void ResultList::ScrollIntoView(int row) {
    if (ResultListObserver* observer = observer_) observer->scrollRequested(row);
}

void ResultList::setObserver(ResultListObserver* observer) {
    observer_ = observer;
}

ResultList::Update ResultList::takeUpdate() {
    std::lock_guard hold(mutex_);
    Update update{clearedSinceUpdate_, static_cast<int>(rows_.size()), firstChangedRow_,
                  lastChangedRow_};
    clearedSinceUpdate_ = false;
    rowsInLastUpdate_ = update.rowCount;
    firstChangedRow_ = -1;
    lastChangedRow_ = -1;
    return update;
}

void ResultList::notifyChanged() const {
    if (ResultListObserver* observer = observer_) observer->rowsChanged();
}

// `row` no longer holds `text` in the indexed column. Only rows after it need a
// look: rows are appended at the end and filled at once, so the scan is short.
void ResultList::reindexAfterRemoval(const std::string& text, int row) {
    auto entry = firstRowByText_.find(text);
    if (entry == firstRowByText_.end() || entry->second != row) return;
    for (std::size_t next = row + 1; next < rows_.size(); ++next) {
        if (rows_[next][indexedColumn_] == text) {
            entry->second = static_cast<int>(next);
            return;
        }
    }
    firstRowByText_.erase(entry);
}

void ResultList::reindexHashAfterRemoval(const InfoHash& hash, int row) {
    auto entry = firstRowByHash_.find(hash);
    if (entry == firstRowByHash_.end() || entry->second != row) return;
    for (std::size_t next = row + 1; next < rows_.size(); ++next) {
        if (InfoHashOf(rows_[next][indexedColumn_]) == hash) {
            entry->second = static_cast<int>(next);
            return;
        }
    }
    firstRowByHash_.erase(entry);
}

}  // namespace sirelo
