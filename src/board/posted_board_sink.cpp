#include "board/posted_board_sink.h"

#include <QCoreApplication>
#include <QImage>

#include "board/board_tab.h"
#include "widgets/shown_text.h"

namespace sirelo {
namespace {

// Only the top left 160 x 220 of a poster is ever seen; keeping no more saves
// the window thread from converting a large image.
constexpr int kPosterWidth = 160;
constexpr int kPosterHeight = 220;

QImage DecodePoster(const Bytes& bytes) {
    QImage image;
    if (bytes.empty() ||
        !image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(std::min<std::size_t>(bytes.size(), INT32_MAX)))) {
        return {};
    }
    if (image.width() <= kPosterWidth && image.height() <= kPosterHeight) return image;
    return image.copy(0, 0, std::min(image.width(), kPosterWidth),
                      std::min(image.height(), kPosterHeight));
}

}  // namespace

bool PostedBoardSink::ShowPoster(int slot, const Bytes& bytes) {
    QImage image = DecodePoster(bytes);
    const bool shown = !image.isNull();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [tab = tab_, slot, image = std::move(image)] {
            if (tab) tab->showPoster(slot, image);
        },
        Qt::QueuedConnection);
    return shown;
}

void PostedBoardSink::ShowLabel(int slot, SlotLabel label, const std::string& gbkText) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [tab = tab_, slot, label, text = ShownText(gbkText)] {
            if (tab) tab->showLabel(slot, label, text);
        },
        Qt::QueuedConnection);
}

void PostedBoardSink::ShowOutcome(const BoardOutcome& outcome) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [tab = tab_, outcome] {
            if (tab) tab->showOutcome(outcome);
        },
        Qt::QueuedConnection);
}

}  // namespace sirelo
