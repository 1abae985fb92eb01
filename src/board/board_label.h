#pragma once
// A one-line label of the board that shows scraped text: always as plain
// text, without the line breaks and blanks at its ends, cut with "…" when too
// long for the label, the whole text then being its tooltip. Its text() stays
// exactly what it was given. A label with a ground (the strips on a poster)
// draws the ground only while it has something to show.

#include <QColor>
#include <QLabel>
#include <optional>

namespace sirelo {

class BoardLabel : public QLabel {
  public:
    explicit BoardLabel(QWidget* parent);

    void setShownText(const QString& text);
    void setGround(const QColor& ground) { ground_ = ground; }

    // The text as drawn: ends trimmed, inner line breaks as blanks, cut to fit.
    QString drawnText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString oneLine() const;

    std::optional<QColor> ground_;
};

}  // namespace sirelo
