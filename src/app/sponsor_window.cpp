#include "app/sponsor_window.h"

#include <QLabel>
#include <QPixmap>

#include "app/window_texts.h"

namespace sirelo {

SponsorWindow::SponsorWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(" 打赏赞助"));
    setFixedSize(905, 386);
    setModal(true);

    auto picture = [this](const QString& image, const QString& caption, int left) {
        auto* label = new QLabel(this);
        label->setGeometry(left, 40, 250, 250);
        label->setPixmap(QPixmap(image));
        auto* text = new QLabel(caption, this);
        text->setGeometry(left, 300, 250, 24);
        text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    };
    picture(QStringLiteral(":/app/images/alipay.png"), QStringLiteral("支付宝"), 50);
    picture(QStringLiteral(":/app/images/wechat.png"), QStringLiteral("微信"), 600);

    auto* lines = new QLabel(SponsorLines().join(u"\n\n"), this);
    lines->setGeometry(300, 40, 300, 250);
    lines->setAlignment(Qt::AlignCenter);
}

}  // namespace sirelo
