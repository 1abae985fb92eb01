#pragma once
// The modal sponsor window " 打赏赞助": the two payment pictures with the five
// sponsor lines between them. It has no behaviour of its own.

#include <QDialog>

namespace sirelo {

class SponsorWindow : public QDialog {
    Q_OBJECT

  public:
    explicit SponsorWindow(QWidget* parent);
};

}  // namespace sirelo
