#include <gif_lib.h>
#include <webp/encode.h>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWheelEvent>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "board/board_label.h"
#include "board/board_tab.h"
#include "board/posted_board_sink.h"
#include "fixture_sites.h"
#include "sitedefs/program_definitions.h"
#include "text/codepage.h"

namespace sirelo {

namespace {

constexpr int kHugeWidth = 6000;
constexpr int kHugeHeight = 8000;
constexpr QRect kCornerBlock(0, 0, 200, 300);

QByteArray HugeJpeg() {
    QImage huge(kHugeWidth, kHugeHeight, QImage::Format_Grayscale8);
    huge.fill(255);
    for (int y = 0; y < kCornerBlock.height(); ++y)
        std::fill_n(huge.scanLine(y), kCornerBlock.width(), uchar(0));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    huge.save(&buffer, "JPEG", 50);
    return jpeg;
}

// One bit a pixel keeps the image small in memory.
QByteArray HugePng() {
    QImage huge(kHugeWidth, kHugeHeight, QImage::Format_Mono);
    huge.setColorTable({qRgb(255, 255, 255), qRgb(255, 0, 0)});
    huge.fill(0);
    for (int y = 0; y < kCornerBlock.height(); ++y) {
        for (int x = 0; x < kCornerBlock.width(); ++x)
            huge.setPixel(x, y, 1);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    huge.save(&buffer, "PNG");
    return png;
}

// Encoded from planes of luma and chroma, a third of the memory of RGBA.
QByteArray HugeWebP() {
    WebPConfig config;
    WebPConfigPreset(&config, WEBP_PRESET_DEFAULT, 10);
    config.method = 0;
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.width = kHugeWidth;
    picture.height = kHugeHeight;
    if (!WebPPictureAlloc(&picture)) return {};
    for (int y = 0; y < kHugeHeight; ++y) {
        uint8_t* row = picture.y + static_cast<std::ptrdiff_t>(y) * picture.y_stride;
        std::fill_n(row, kHugeWidth, uint8_t(235));
        if (y < kCornerBlock.height()) std::fill_n(row, kCornerBlock.width(), uint8_t(16));
    }
    const int chromaBytes = picture.uv_stride * ((kHugeHeight + 1) / 2);
    std::fill_n(picture.u, chromaBytes, uint8_t(128));
    std::fill_n(picture.v, chromaBytes, uint8_t(128));
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    QByteArray webp;
    if (WebPEncode(&config, &picture))
        webp = QByteArray(reinterpret_cast<const char*>(writer.mem),
                          static_cast<qsizetype>(writer.size));
    WebPMemoryWriterClear(&writer);
    WebPPictureFree(&picture);
    return webp;
}

int AppendToByteArray(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

// Written row by row, so only one row is held.
QByteArray HugeGif() {
    QByteArray gif;
    int error = 0;
    GifFileType* file = EGifOpen(&gif, AppendToByteArray, &error);
    const GifColorType colours[2] = {{255, 255, 255}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifPutScreenDesc(file, kHugeWidth, kHugeHeight, 1, 0, map);
    EGifPutImageDesc(file, 0, 0, kHugeWidth, kHugeHeight, false, nullptr);
    std::vector<GifPixelType> row(kHugeWidth);
    for (int y = 0; y < kHugeHeight; ++y) {
        std::fill(row.begin(), row.end(), GifPixelType(0));
        if (y < kCornerBlock.height())
            std::fill_n(row.begin(), kCornerBlock.width(), GifPixelType(1));
        EGifPutLine(file, row.data(), kHugeWidth);
    }
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return gif;
}

}  // namespace

class BoardTabTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QLineEdit> searchBox_;
    std::unique_ptr<BoardTab> tab_;
    int sponsorOpened_ = 0;
    std::vector<std::thread> loaders_;  // joined before each test ends

    void startLoading(const std::string& url) {
        tab_->startLoading(BuiltInSiteDefinitions().board, url, [this](std::function<void()> body) {
            loaders_.emplace_back(std::move(body));
            return true;
        });
    }
    void joinLoaders() {
        for (std::thread& loader : loaders_)
            loader.join();
        loaders_.clear();
    }

    QLabel* control(const char* kind, int number) const {
        return tab_->findChild<QLabel*>(QString::fromUtf8(kind) + QString::number(number));
    }
    QLabel* poster(int k) const { return control("图片框", k); }
    // True when exactly the posters, names and dates of `half` (1 or 2) are visible.
    bool halfShown(int half) const {
        for (int k = 1; k <= 12; ++k) {
            for (const char* kind : {"图片框", "电影名称", "上映时间"}) {
                if (control(kind, k)->isVisible() != ((k <= 6) == (half == 1))) return false;
            }
        }
        return true;
    }
    void turnWheel(QWidget* over, int delta) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
    }
    void loadFrom(const fixtures::FixtureSites& sites) {
        startLoading(sites.baseAddress("院线热映") + "/board");
        // The last update of the tenth film.
        QTRY_COMPARE_WITH_TIMEOUT(control("电影主演", 11)->text(), QString::fromUtf8("何小满"),
                                  10000);
    }

  private slots:
    void init() {
        searchBox_ = std::make_unique<QLineEdit>(QStringLiteral("已有文字"));
        sponsorOpened_ = 0;
        tab_ = std::make_unique<BoardTab>(searchBox_.get(), [this] { ++sponsorOpened_; });
        tab_->resize(1165, 400);
        tab_->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab_.get()));
    }
    void cleanup() {
        joinLoaders();
        tab_.reset();
        searchBox_.reset();
    }

    // Places on the page: the tab control's own, less its 20-pixel strip.
    void startsWithTheFirstHalfInItsPlaces() {
        QVERIFY(halfShown(1));
        QCOMPARE(tab_->board().halfMarker(), std::string());
        QCOMPARE(poster(1)->geometry(), QRect(50, 30, 160, 220));
        QCOMPARE(poster(6)->geometry(), QRect(950, 30, 160, 220));
        QCOMPARE(poster(7)->geometry(), QRect(50, 30, 160, 220));
        QCOMPARE(control("电影主演", 9)->parentWidget(), poster(9));
        QCOMPARE(control("电影主演", 9)->geometry(), QRect(0, 200, 160, 20));
        QCOMPARE(control("网络评分", 9)->parentWidget(), poster(9));
        QCOMPARE(control("网络评分", 9)->geometry(), QRect(140, 0, 20, 20));
        QCOMPARE(control("电影名称", 3)->geometry(), QRect(410, 270, 160, 20));
        QCOMPARE(control("上映时间", 3)->geometry(), QRect(410, 300, 160, 20));
        QCOMPARE(poster(13)->geometry(), QRect(15, 30, 20, 220));
        QCOMPARE(poster(14)->geometry(), QRect(1125, 30, 20, 220));
        QCOMPARE(poster(13)->pixmap().size(), QSize(16, 16));
        QCOMPARE(poster(13)->alignment(), Qt::AlignCenter);

        QCOMPARE(poster(2)->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(poster(8)->palette().color(QPalette::Window), QColor(192, 192, 192));
        QVERIFY(poster(2)->pixmap().isNull());
        QCOMPARE(control("电影名称", 2)->text(), QString());
        QCOMPARE(control("电影名称", 8)->text(), QString::fromUtf8("电影名称"));
        QCOMPARE(control("上映时间", 8)->text(), QString::fromUtf8("上映时间"));
        for (int k : {6, 12}) {
            QCOMPARE(poster(k)->pixmap().size(), QSize(568, 852));
            QVERIFY(poster(k)->hasScaledContents());
            QCOMPARE(control("电影名称", k)->text(), QString::fromUtf8("支付宝 - 扫码领红包"));
            QCOMPARE(control("上映时间", k)->text(), QString::fromUtf8("更新时间：2019-02-24"));
        }
    }

    void eachWheelReportOverAPosterTogglesOnce() {
        turnWheel(poster(3), -120);
        QVERIFY(halfShown(2));
        QCOMPARE(GbkToUtf8(tab_->board().halfMarker()), std::string("第二页"));
        // Over a poster's child label, in the other direction, by a small step.
        turnWheel(control("电影主演", 9), 15);
        QVERIFY(halfShown(1));
        QCOMPARE(tab_->board().halfMarker(), std::string());
    }

    void bothArrowsToggleOnPress() {
        QTest::mousePress(poster(13), Qt::LeftButton);
        QVERIFY(halfShown(2));
        QTest::mouseRelease(poster(13), Qt::LeftButton);
        QVERIFY(halfShown(2));
        QTest::mousePress(poster(14), Qt::LeftButton);
        QVERIFY(halfShown(1));
        QTest::mousePress(poster(14), Qt::RightButton);
        QVERIFY(halfShown(1));
        // Through the window system a quick second press reaches the control as a
        // double-click event: it is a press all the same.
        const QPoint middle = poster(14)->mapTo(tab_.get(), poster(14)->rect().center());
        QTest::mouseDClick(tab_->windowHandle(), Qt::LeftButton, {}, middle);
        QVERIFY(halfShown(1));
        QTest::mouseClick(tab_->windowHandle(), Qt::LeftButton, {}, middle);
        QVERIFY(halfShown(2));
    }

    void beforeLoadingAPressCopiesWhatTheLabelShows() {
        QTest::mousePress(poster(14), Qt::LeftButton);
        QTest::mousePress(poster(7), Qt::LeftButton);
        QCOMPARE(searchBox_->text(), QString::fromUtf8("电影名称"));
        QTest::mousePress(poster(13), Qt::LeftButton);
        QTest::mousePress(poster(1), Qt::LeftButton);
        QCOMPARE(searchBox_->text(), QString());
    }

    void promotionalSlotsOpenTheSponsorWindow() {
        QTest::mousePress(poster(6), Qt::LeftButton);
        QCOMPARE(sponsorOpened_, 1);
        QCOMPARE(searchBox_->text(), QStringLiteral("已有文字"));
        tab_->toggleBoardHalf();
        QTest::mousePress(poster(12), Qt::LeftButton);
        QCOMPARE(sponsorOpened_, 2);
        QCOMPARE(searchBox_->text(), QStringLiteral("已有文字"));
    }

    void loadedBoardShowsTheFilmsAndCopiesTheirNames() {
        fixtures::FixtureSites sites(SIRELO_FIXTURES_DIR);
        loadFrom(sites);

        QCOMPARE(control("电影名称", 1)->text(), QString::fromUtf8("星河彼岸"));
        QCOMPARE(control("上映时间", 1)->text(), QString::fromUtf8("上映时间：2019-02-05"));
        QCOMPARE(control("网络评分", 2)->text(), QStringLiteral("8.7"));
        QCOMPARE(control("电影主演", 3)->text(), QString::fromUtf8("一二三四五"));
        QCOMPARE(control("电影名称", 6)->text(), QString::fromUtf8("支付宝 - 扫码领红包"));
        QCOMPARE(control("电影名称", 12)->text(), QString::fromUtf8("支付宝 - 扫码领红包"));
        QCOMPARE(poster(12)->pixmap().size(), QSize(568, 852));

        // JPEG, PNG, GIF and WebP decode; a larger poster is cut to the area and a
        // smaller one kept at its size, both from the top left.
        for (int k : {1, 2, 3, 4, 9, 10, 11})
            QCOMPARE(poster(k)->pixmap().size(), QSize(160, 220));
        QCOMPARE(poster(5)->pixmap().size(), QSize(160, 220));
        QCOMPARE(poster(5)->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QCOMPARE(poster(7)->pixmap().size(), QSize(120, 165));
        // Film 7's poster is no image: no picture, the labels all the same.
        QVERIFY(poster(8)->pixmap().isNull());
        QCOMPARE(control("电影名称", 8)->text(), QString::fromUtf8("第七个夏天"));
        QCOMPARE(control("网络评分", 8)->text(), QStringLiteral("6.8"));

        QTest::mousePress(poster(2), Qt::LeftButton);
        QCOMPARE(searchBox_->text(), QString::fromUtf8("长夜将明"));
        QTest::mousePress(control("电影主演", 1), Qt::LeftButton);
        QCOMPARE(searchBox_->text(), QString::fromUtf8("星河彼岸"));
        tab_->toggleBoardHalf();
        QTest::mousePress(poster(7), Qt::LeftButton);
        QCOMPARE(searchBox_->text(), QString::fromUtf8("归途"));
        QCOMPARE(sponsorOpened_, 0);
    }

    void unreachableSiteKeepsTheStartUpLook() {
        std::string url;
        {
            testsupport::LoopbackServer gone(testsupport::Ok(""));
            url = gone.BaseUrl() + "/board";
        }
        startLoading(url);
        joinLoaders();
        QCoreApplication::processEvents();
        QCOMPARE(control("电影名称", 1)->text(), QString());
        QCOMPARE(control("电影名称", 7)->text(), QString::fromUtf8("电影名称"));
        QVERIFY(poster(1)->pixmap().isNull());
        tab_->toggleBoardHalf();
        QVERIFY(halfShown(2));
    }

    // Scraped text is only ever text, drawn on one line without its ends'
    // breaks and blanks, cut with "…" when too long; the label keeps it whole.
    void labelsDrawScrapedTextAsPlainText() {
        auto* name = tab_->findChild<BoardLabel*>(QString::fromUtf8("电影名称1"));
        const QString rich = QStringLiteral("<b>粗</b>体");
        tab_->showLabel(1, SlotLabel::Name, rich);
        QCOMPARE(name->text(), rich);
        const QImage drawn = name->grab().toImage();
        int rightmostInk = -1;
        for (int x = 0; x < drawn.width(); ++x) {
            for (int y = 0; y < drawn.height(); ++y) {
                if (drawn.pixel(x, y) != drawn.pixel(drawn.width() - 1, 0)) rightmostInk = x;
            }
        }
        // The tags take room when drawn literally; bold 粗体 would be two glyphs wide.
        QVERIFY(rightmostInk >= name->fontMetrics().horizontalAdvance(rich) * 3 / 4);
        QVERIFY(name->toolTip().isEmpty());

        auto* stars = tab_->findChild<BoardLabel*>(QString::fromUtf8("电影主演1"));
        tab_->showLabel(1, SlotLabel::Stars, QString::fromUtf8("张三,李四\n\t"));
        QCOMPARE(stars->drawnText(), QString::fromUtf8("张三,李四"));
        QCOMPARE(stars->text(), QString::fromUtf8("张三,李四\n\t"));

        const QString longName = QString::fromUtf8("一部名字很长很长很长很长很长很长的电影");
        tab_->showLabel(1, SlotLabel::Name, longName);
        QVERIFY(name->drawnText().endsWith(QChar(0x2026)));
        QVERIFY(name->toolTip().contains(longName));
        QTest::mousePress(poster(1), Qt::LeftButton);
        QCOMPARE(searchBox_->text(), longName);

        // An empty strip draws nothing on the poster.
        tab_->showLabel(1, SlotLabel::Stars, QString());
        tab_->showLabel(1, SlotLabel::Score, QString());
        const QImage bare = poster(1)->grab().toImage();
        QCOMPARE(bare.pixel(80, 210), bare.pixel(80, 100));
        QCOMPARE(bare.pixel(150, 10), bare.pixel(80, 100));
    }

    // Only the shown corner is decoded, so a poster of any size and format
    // shows it: each huge poster has a 200 x 300 block of `corner` at its top left.
    void aHugePosterShowsItsCorner_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QColor>("corner");
        QTest::newRow("JPEG") << HugeJpeg() << QColor(Qt::black);
        QTest::newRow("PNG") << HugePng() << QColor(Qt::red);
        QTest::newRow("WebP") << HugeWebP() << QColor(Qt::black);
        QTest::newRow("GIF") << HugeGif() << QColor(Qt::blue);
    }
    void aHugePosterShowsItsCorner() {
        QFETCH(QByteArray, file);
        QFETCH(QColor, corner);
        PostedBoardSink sink{QPointer<BoardTab>(tab_.get())};
        QVERIFY(sink.ShowPoster(1, Bytes(file.constData(), static_cast<std::size_t>(file.size()))));
        QTRY_VERIFY(!poster(1)->pixmap().isNull());
        const QImage shown = poster(1)->pixmap().toImage();
        QCOMPARE(shown.size(), QSize(160, 220));
        for (const QPoint at : {QPoint(0, 0), QPoint(159, 219)}) {
            const QColor seen = shown.pixelColor(at);
            QVERIFY2(std::abs(seen.red() - corner.red()) < 40 &&
                         std::abs(seen.green() - corner.green()) < 40 &&
                         std::abs(seen.blue() - corner.blue()) < 40,
                     qPrintable(seen.name()));
        }
    }

    void tabMayGoWhileTheLoaderRuns() {
        fixtures::FixtureSites sites(SIRELO_FIXTURES_DIR);
        startLoading(sites.baseAddress("院线热映") + "/board");
        QTRY_VERIFY_WITH_TIMEOUT(sites.requestCount("院线热映") >= 3, 10000);
        tab_.reset();
        joinLoaders();
        QTest::qWait(50);  // the updates posted for the gone tab
    }
};

}  // namespace sirelo

QTEST_MAIN(sirelo::BoardTabTest)
#include "board_tab_test.moc"
