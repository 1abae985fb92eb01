#include "board/board_label.h"

#include <QPainter>

#include "widgets/shown_text.h"

namespace sirelo {

BoardLabel::BoardLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void BoardLabel::setShownText(const QString& text) {
    setText(text);
    setToolTip(drawnText() == oneLine() ? QString() : PlainToolTip(oneLine()));
}

QString BoardLabel::oneLine() const {
    return text().simplified();
}

QString BoardLabel::drawnText() const {
    return fontMetrics().elidedText(oneLine(), Qt::ElideRight, contentsRect().width());
}

void BoardLabel::paintEvent(QPaintEvent*) {
    const QString shown = drawnText();
    if (shown.isEmpty()) return;
    QPainter painter(this);
    if (ground_) painter.fillRect(rect(), *ground_);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, shown);
}

}  // namespace sirelo
