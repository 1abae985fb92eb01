#pragma once
// The search box's history: the names searched for, offered as the box is
// typed in (those that start with what was typed, ASCII case ignored); Down
// opens the whole list; Return or a click takes a name into the box without
// starting a search. The box's context menu gains "清除搜索历史". Window thread only.

#include <QObject>
#include <string>
#include <vector>

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace sirelo {

class HistoryCompleter : public QObject {
    Q_OBJECT

  public:
    // Reads the history from `path` (history.txt); each change is written there.
    HistoryCompleter(QLineEdit* box, std::string path);

    // A search for `name` has started: it goes first.
    void remember(const QString& name);
    void clear();
    QCompleter* completer() const { return completer_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Shows `names` under the box; hides the list when there are none.
    void offer(const std::vector<std::string>& names);
    void showMenu(const QPoint& at);
    void save();

    QLineEdit* box_;
    QStringListModel* names_;
    QCompleter* completer_;
    std::string path_;
    std::vector<std::string> history_;  // UTF-8, newest first
};

}  // namespace sirelo
