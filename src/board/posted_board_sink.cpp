#include "board/posted_board_sink.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include "board/board_tab.h"
#include "board/poster_corner.h"
#include "widgets/shown_text.h"

namespace sirelo {
namespace {

// Only the top left 160 x 220 of a poster is ever seen, and only that is
// decoded where the format allows it (PNG, GIF and WebP by the corner decoder,
// JPEG by Qt's reader), so that a poster of any pixel size shows its corner at
// bounded memory. The rest (interlaced PNG and GIF, animated WebP) is decoded
// whole within the reader's allocation limit and then cut; larger ones of
// those show no image.
constexpr QRect kShownPart(0, 0, 160, 220);

QImage DecodePoster(const Bytes& bytes) {
    if (bytes.empty()) return {};
    const PosterCorner corner = DecodePosterCorner(bytes, kShownPart.width(), kShownPart.height());
    if (corner.outcome == CornerOutcome::Broken) return {};
    if (corner.outcome == CornerOutcome::Decoded) {
        return QImage(corner.rgba.data(), corner.width, corner.height, corner.width * 4,
                      QImage::Format_RGBA8888)
            .copy();
    }
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
