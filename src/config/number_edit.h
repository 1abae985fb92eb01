#pragma once
// An edit box in integer-text mode: of the characters typed or pasted in, only
// the digits 0-9 and "-" reach the text, at any position; control keys work as
// usual. A text the program sets is taken as it is.

#include <QLineEdit>
#include <QString>

namespace sirelo {

// The characters of `text` that may be typed into a NumberEdit.
QString IntegerCharacters(const QString& text);

class NumberEdit : public QLineEdit {
  public:
    explicit NumberEdit(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void insertFiltered(const QString& text);
};

}  // namespace sirelo
