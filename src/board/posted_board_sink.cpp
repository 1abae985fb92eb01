#include "board/posted_board_sink.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include "board/board_tab.h"
#include "widgets/shown_text.h"

namespace sirelo {
namespace {

// Only the top left 160 x 220 of a poster is ever seen, and only that is
// decoded where the format allows (JPEG), so that a poster of any pixel size
// shows its corner at bounded memory. Other formats are decoded whole within
// the reader's allocation limit and then cut.
constexpr QRect kShownPart(0, 0, 160, 220);

QImage DecodePoster(const Bytes& bytes) {
    if (bytes.empty()) return {};
    const QByteArray data = QByteArray::fromRawData(
        reinterpret_cast<const char*>(bytes.data()),
        static_cast<qsizetype>(std::min<std::size_t>(bytes.size(), INT32_MAX)));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid()) reader.setClipRect(kShownPart & QRect(QPoint(0, 0), size));
    QImage image = reader.read();
    if (image.width() > kShownPart.width() || image.height() > kShownPart.height()) {
        image = image.copy(kShownPart & image.rect());
    }
    return image;
}

}  // namespace

void PostedBoardSink::ShowPoster(int slot, const Bytes& bytes) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [tab = tab_, slot, image = DecodePoster(bytes)] {
            if (tab) tab->showPoster(slot, image);
        },
        Qt::QueuedConnection);
}

void PostedBoardSink::ShowLabel(int slot, SlotLabel label, const std::string& gbkText) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [tab = tab_, slot, label, text = ShownText(gbkText)] {
            if (tab) tab->showLabel(slot, label, text);
        },
        Qt::QueuedConnection);
}

}  // namespace sirelo
