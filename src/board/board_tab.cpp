#include "board/board_tab.h"

#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QWheelEvent>
#include <memory>
#include <utility>

#include "board/board_label.h"
#include "board/board_slot.h"
#include "board/posted_board_sink.h"
#include "widgets/tab_page.h"

// The resource initialiser lives in the global namespace.
static void InitBoardResources() {
    Q_INIT_RESOURCE(board);
}

namespace sirelo {
namespace {

constexpr int kPosterTop = PageTop(50);
constexpr int kPosterWidth = 160;
constexpr int kPosterHeight = 220;
constexpr int kSlotPitch = 180;
constexpr int kFirstPosterLeft = 50;
constexpr int kNameTop = PageTop(290);
constexpr int kDateTop = PageTop(320);
constexpr int kLabelHeight = 20;
constexpr int kArrowWidth = 20;

QString Name(const char* kind, int number) {
    return QString::fromUtf8(kind) + QString::number(number);
}

QLabel* NewLabel(QWidget* parent, const QString& objectName, const QRect& geometry,
                 const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setGeometry(geometry);
    return label;
}

BoardLabel* NewBoardLabel(QWidget* parent, const QString& objectName, const QRect& geometry,
                          const QString& text = {}) {
    auto* label = new BoardLabel(parent);
    label->setObjectName(objectName);
    label->setGeometry(geometry);
    label->setShownText(text);
    return label;
}

// The strips on a poster: light text on a dark ground, so that they stay
// readable on any poster.
void MakeStrip(BoardLabel* label, const QColor& textColour) {
    label->setGround(QColor(0, 0, 0, 150));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, textColour);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
}

void FillBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

BoardTab::BoardTab(QLineEdit* searchBox, std::function<void()> openSponsorWindow, QWidget* parent)
    : QWidget(parent), 搜索名称(searchBox), openSponsorWindow_(std::move(openSponsorWindow)) {
    InitBoardResources();
    for (int slot = 1; slot <= BoardSlot::kCount; ++slot)
        buildSlot(slot);
    图片框13 = buildArrow(13, 15, QStringLiteral(":/board/chevron-left.png"));
    图片框14 = buildArrow(14, 1125, QStringLiteral(":/board/chevron-right.png"));
}

void BoardTab::buildSlot(int number) {
    const BoardSlot slot{number};
    const int left = kFirstPosterLeft + kSlotPitch * slot.Column();
    SlotControls& controls = slots_[static_cast<std::size_t>(number)];

    controls.poster = NewLabel(this, Name("图片框", number),
                               QRect(left, kPosterTop, kPosterWidth, kPosterHeight));
    controls.poster->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    controls.stars =
        NewBoardLabel(controls.poster, Name("电影主演", number),
                      QRect(0, kPosterHeight - kLabelHeight, kPosterWidth, kLabelHeight));
    controls.score = NewBoardLabel(controls.poster, Name("网络评分", number),
                                   QRect(kPosterWidth - 20, 0, 20, kLabelHeight));
    // The two labels cover parts of the poster and take its presses and turns.
    for (QLabel* part : {controls.poster, static_cast<QLabel*>(controls.stars),
                         static_cast<QLabel*>(controls.score)}) {
        part->installEventFilter(this);
    }
    MakeStrip(controls.stars, Qt::white);
    MakeStrip(controls.score, QColor(0xff, 0xb4, 0x00));
    QFont scoreFont = controls.score->font();
    scoreFont.setPixelSize(10);
    scoreFont.setBold(true);
    controls.score->setFont(scoreFont);

    QString name, date;
    if (slot.IsPromotion()) {
        controls.poster->setPixmap(QPixmap(QStringLiteral(":/board/promotion.png")));
        controls.poster->setScaledContents(true);
        name = QString::fromUtf8("支付宝 - 扫码领红包");
        date = QString::fromUtf8("更新时间：2019-02-24");
    } else {
        FillBackground(controls.poster,
                       slot.InFirstHalf() ? QColor(Qt::white) : QColor(192, 192, 192));
        if (!slot.InFirstHalf()) {
            name = QString::fromUtf8("电影名称");
            date = QString::fromUtf8("上映时间");
        }
    }
    controls.name = NewBoardLabel(this, Name("电影名称", number),
                                  QRect(left, kNameTop, kPosterWidth, kLabelHeight), name);
    controls.date = NewBoardLabel(this, Name("上映时间", number),
                                  QRect(left, kDateTop, kPosterWidth, kLabelHeight), date);
    if (!slot.InFirstHalf()) {
        controls.poster->hide();
        controls.name->hide();
        controls.date->hide();
    }
}

QLabel* BoardTab::buildArrow(int number, int left, const QString& image) {
    QLabel* arrow =
        NewLabel(this, Name("图片框", number), QRect(left, kPosterTop, kArrowWidth, kPosterHeight));
    arrow->setPixmap(QPixmap(image));
    arrow->setAlignment(Qt::AlignCenter);
    arrow->installEventFilter(this);
    return arrow;
}

void BoardTab::startLoading(const BoardDefinition& board, const std::string& boardPageUrl,
                            const ThreadStarter& startThread) {
    auto sink = std::make_shared<PostedBoardSink>(QPointer<BoardTab>(this));
    startThread([&board, boardPageUrl, sink = std::move(sink)]() mutable {
        loadMovieBoard(board, std::move(boardPageUrl), std::move(sink));
    });
}

void BoardTab::toggleBoardHalf() {
    for (const HalfSwitchStep& step : board_.toggleBoardHalf()) {
        const SlotControls& controls = slots_[static_cast<std::size_t>(step.slot)];
        QLabel* control = step.control == SlotControl::Poster ? controls.poster
                          : step.control == SlotControl::Name ? controls.name
                                                              : controls.date;
        control->setVisible(step.show);
    }
}

void BoardTab::copyFilmName(int slot) {
    搜索名称->setText(slots_[static_cast<std::size_t>(slot)].name->text());
}

void BoardTab::showPoster(int slot, const QImage& image) {
    slots_[static_cast<std::size_t>(slot)].poster->setPixmap(QPixmap::fromImage(image));
}

void BoardTab::showLabel(int slot, SlotLabel label, const QString& text) {
    const SlotControls& controls = slots_[static_cast<std::size_t>(slot)];
    switch (label) {
        case SlotLabel::Name:
            controls.name->setShownText(text);
            break;
        case SlotLabel::Date:
            controls.date->setShownText(text);
            break;
        case SlotLabel::Score:
            controls.score->setShownText(text);
            break;
        case SlotLabel::Stars:
            controls.stars->setShownText(text);
            break;
    }
}

int BoardTab::posterSlot(const QObject* watched) const {
    for (int slot = 1; slot <= BoardSlot::kCount; ++slot) {
        const SlotControls& controls = slots_[static_cast<std::size_t>(slot)];
        if (watched == controls.poster || watched == controls.stars || watched == controls.score) {
            return slot;
        }
    }
    return 0;
}

bool BoardTab::eventFilter(QObject* watched, QEvent* event) {
    const bool arrow = watched == 图片框13 || watched == 图片框14;
    const int slot = arrow ? 0 : posterSlot(watched);
    if (!arrow && slot == 0) return QWidget::eventFilter(watched, event);

    switch (event->type()) {
        // A quick second press reaches the control as a double-click alone.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            if (arrow) {
                toggleBoardHalf();
            } else if (BoardSlot{slot}.IsPromotion()) {
                openSponsorWindow_();
            } else {
                copyFilmName(slot);
            }
            return true;
        }
        case QEvent::Wheel: {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            // Begin and end reports of a scroll gesture carry no turn.
            if (arrow || (wheel->angleDelta().isNull() && wheel->pixelDelta().isNull())) break;
            toggleBoardHalf();
            return true;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace sirelo
