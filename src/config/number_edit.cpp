#include "config/number_edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace sirelo {
namespace {

bool IsIntegerCharacter(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-';
}

// Keys that the line edit would turn into text, as opposed to control keys and shortcuts.
bool TypesText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) return false;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers == Qt::ControlModifier ||
        modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;
    }
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control) return false;
    }
    return true;
}

}  // namespace

QString IntegerCharacters(const QString& text) {
    QString kept;
    for (QChar c : text) {
        if (IsIntegerCharacter(c)) kept += c;
    }
    return kept;
}

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    // An input method could commit any text, and a drop would bypass the filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        event->accept();
        return;
    }
    if (TypesText(*event) && IntegerCharacters(event->text()) != event->text()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The paste item is the one wired to QLineEdit::paste (by name, so the match
    // is by name too); it is rewired to the filter.
    for (QAction* action : menu->actions()) {
        if (!disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))) continue;
        connect(action, &QAction::triggered, this, [this] {
            insertFiltered(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        });
    }
    menu->popup(event->globalPos());
}

void NumberEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        deselect();
        insertFiltered(clipboard->text(QClipboard::Selection));
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// Pasted text passes the same filter as typed text; nothing left means no change.
void NumberEdit::insertFiltered(const QString& text) {
    const QString kept = IntegerCharacters(text);
    if (!kept.isEmpty()) insert(kept);
}

}  // namespace sirelo
