#include "app/history_completer.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStringListModel>

#include "config/search_history.h"

namespace sirelo {

HistoryCompleter::HistoryCompleter(QLineEdit* box, std::string path)
    : QObject(box),
      box_(box),
      names_(new QStringListModel(this)),
      completer_(new QCompleter(names_, this)),
      path_(std::move(path)),
      history_(ReadSearchHistory(path_)) {
    // The names are chosen here, so the completer shows what it is given.
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setWidget(box_);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), box_,
            &QLineEdit::setText);
    connect(box_, &QLineEdit::textEdited, this, [this](const QString& text) {
        offer(text.isEmpty() ? std::vector<std::string>()
                             : NamesStartingWith(history_, text.toStdString()));
    });
    box_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box_, &QWidget::customContextMenuRequested, this, &HistoryCompleter::showMenu);
    box_->installEventFilter(this);
}

void HistoryCompleter::remember(const QString& name) {
    history_ = WithSearchName(std::move(history_), name.toStdString());
    save();
}

void HistoryCompleter::clear() {
    history_.clear();
    completer_->popup()->hide();
    save();
}

bool HistoryCompleter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier &&
        !completer_->popup()->isVisible()) {
        offer(history_);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void HistoryCompleter::offer(const std::vector<std::string>& names) {
    if (names.empty()) {
        completer_->popup()->hide();
        return;
    }
    QStringList list;
    for (const std::string& name : names)
        list << QString::fromStdString(name);
    names_->setStringList(list);
    completer_->complete();
}

void HistoryCompleter::showMenu(const QPoint& at) {
    QMenu* menu = box_->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(QStringLiteral("清除搜索历史"), this, &HistoryCompleter::clear);
    menu->popup(box_->mapToGlobal(at));
}

void HistoryCompleter::save() {
    WriteSearchHistory(path_, history_);
}

}  // namespace sirelo
