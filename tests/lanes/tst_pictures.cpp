#include "common/clock.h"
#include "lanes/jpegdecoder.h"
#include "lanes/lotimageloader.h"
#include "lanes/photoslotpool.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace qev;

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);

// A picture whose left half is red and right half blue, or whose quadrants have four colours.
QImage Halves(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, size.width() / 2, size.height()), Qt::red);
    p.fillRect(QRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height()), Qt::blue);
    return image;
}

QImage Quadrants(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    QPainter p(&image);
    p.fillRect(QRect(0, 0, w, h), Qt::green);
    p.fillRect(QRect(w, 0, size.width() - w, h), Qt::red);
    p.fillRect(QRect(0, h, w, size.height() - h), Qt::blue);
    p.fillRect(QRect(w, h, size.width() - w, size.height() - h), Qt::yellow);
    return image;
}

QByteArray Jpeg(const QImage& image, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("jpeg writer failed");
    return bytes;
}

// The same JPEG with other dimensions in its frame header (the pixels do not follow).
QByteArray WithDimensions(QByteArray jpeg, int width, int height) {
    for (qsizetype i = 0; i + 9 < jpeg.size(); ++i) {
        const quint8 marker = quint8(jpeg[i + 1]);
        if (quint8(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
    }
    qFatal("no frame header");
}

bool Near(QColor a, QColor b, int tolerance = 40) {
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

bool AllSilver(const QImage& image) {
    for (const QPoint p : {QPoint(0, 0), QPoint(image.width() / 2, image.height() / 2),
                           QPoint(image.width() - 1, image.height() - 1)}) {
        if (image.pixelColor(p) != kSilver)
            return false;
    }
    return true;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void init();
    void decodes_data();
    void decodes();
    void refuses_data();
    void refuses();
    void carPhotoScaled();
    void exhibitCardCorner_data();
    void exhibitCardCorner();
    void missingFileClears();
    void badFileLeavesSlot_data();
    void badFileLeavesSlot();
    void loadedPictureKept();
    void sameKeySameSlot();
    void twoLanesKeepTheirSlots();
    void leastRecentlyUsedReplaced();
    void stillClockStillOrdered();

private:
    QString Write(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_dir;
};

void TestPictures::init() {
    QVERIFY(m_dir.isValid());
}

QString TestPictures::Write(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write test file");
    file.write(bytes);
    return path;
}

void TestPictures::decodes_data() {
    QTest::addColumn<QByteArray>("jpeg");
    QTest::addColumn<QSize>("atLeast");
    QTest::addColumn<QSize>("topLeft");
    QTest::addColumn<QSize>("decoded");

    const QSize photo(430, 322);
    QTest::newRow("photo at full size") << Jpeg(Halves({640, 480})) << photo << QSize() << QSize(640, 480);
    QTest::newRow("large photo quartered")
        << Jpeg(Halves({2000, 1500})) << photo << QSize() << QSize(500, 375);
    QTest::newRow("huge photo by eight") << Jpeg(Halves({4000, 3000})) << photo << QSize() << QSize(500, 375);
    QTest::newRow("small photo") << Jpeg(Halves({200, 100})) << photo << QSize() << QSize(200, 100);
    QTest::newRow("no target") << Jpeg(Halves({2000, 1500})) << QSize() << QSize() << QSize(2000, 1500);
    QTest::newRow("card corner") << Jpeg(Quadrants({1024, 1024})) << QSize() << QSize(512, 512)
                                 << QSize(512, 512);
    QTest::newRow("small card") << Jpeg(Quadrants({300, 200})) << QSize() << QSize(512, 512)
                                << QSize(300, 200);
    QTest::newRow("progressive") << Jpeg(Halves({640, 480}), true) << photo << QSize() << QSize(640, 480);
    QTest::newRow("grey") << Jpeg(Halves({64, 48}).convertToFormat(QImage::Format_Grayscale8)) << QSize()
                          << QSize() << QSize(64, 48);
}

void TestPictures::decodes() {
    QFETCH(QByteArray, jpeg);
    QFETCH(QSize, atLeast);
    QFETCH(QSize, topLeft);
    QFETCH(QSize, decoded);
    const QImage image = TJpegDecoder().Decode(jpeg, {atLeast, topLeft});
    QCOMPARE(image.size(), decoded);
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 255);
}

void TestPictures::refuses_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = Jpeg(Halves({640, 480}));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("html page") << QByteArray("<html><body>maintenance</body></html>");
    QTest::newRow("cut in half") << good.first(good.size() / 2);
    QTest::newRow("header only") << good.first(200);
    QTest::newRow("over the pixel limit") << WithDimensions(good, 10000, 5000);
    QTest::newRow("zero width") << WithDimensions(good, 0, 480);
    QByteArray noise = good;
    for (qsizetype i = good.size() / 3; i < good.size() - 2; i += 7)
        noise[i] = char(0xFF);
    QTest::newRow("markers everywhere") << noise;
}

void TestPictures::refuses() {
    QFETCH(QByteArray, bytes);
    QVERIFY(TJpegDecoder().Decode(bytes, {QSize(430, 322), QSize()}).isNull());
}

void TestPictures::carPhotoScaled() {
    TPhotoSlotPool pool;
    TLotImageLoader loader(pool);
    const QString path = Write(QStringLiteral("photo.jpg"), Jpeg(Halves({640, 480})));
    TImageHolder& slot = loader.LoadLotImage(0, TLotImageLoader::CarPhoto, path, 45, 123);
    QVERIFY(slot.HasKey(123, 45, 0));
    QVERIFY(!slot.MainNeedsLoading());
    QVERIFY(slot.LargeNeedsLoading());
    QCOMPARE(slot.Main().size(), QSize(430, 322));
    QCOMPARE(slot.Main().format(), QImage::Format_RGB888);
    QCOMPARE(slot.Thumbnail().size(), QSize(160, 120));
    QCOMPARE(slot.Thumbnail().format(), QImage::Format_RGB888);
    QVERIFY(Near(slot.Main().pixelColor(50, 160), Qt::red));
    QVERIFY(Near(slot.Main().pixelColor(380, 160), Qt::blue));
    QVERIFY(Near(slot.Thumbnail().pixelColor(20, 60), Qt::red));
    QVERIFY(Near(slot.Thumbnail().pixelColor(140, 60), Qt::blue));
    QVERIFY(AllSilver(slot.Large()));
}

void TestPictures::exhibitCardCorner_data() {
    QTest::addColumn<QSize>("cardSize");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("colour");
    // A 1024 card's top-left quadrant fills the whole picture: no scaling.
    QTest::newRow("large card, near corner") << QSize(1024, 1024) << QPoint(10, 10) << QColor(Qt::green);
    QTest::newRow("large card, far corner") << QSize(1024, 1024) << QPoint(500, 500) << QColor(Qt::green);
    QTest::newRow("wide card") << QSize(2000, 600) << QPoint(500, 100) << QColor(Qt::green);
    QTest::newRow("small card inside") << QSize(200, 200) << QPoint(150, 150) << QColor(Qt::yellow);
    QTest::newRow("small card, rest stays clear") << QSize(200, 200) << QPoint(300, 300) << kSilver;
}

void TestPictures::exhibitCardCorner() {
    QFETCH(QSize, cardSize);
    QFETCH(QPoint, probe);
    QFETCH(QColor, colour);
    TPhotoSlotPool pool;
    TLotImageLoader loader(pool);
    const QString path = Write(QStringLiteral("card.jpg"), Jpeg(Quadrants(cardSize)));
    TImageHolder& slot = loader.LoadLotImage(1, TLotImageLoader::ExhibitCard, path, 7, 9);
    QVERIFY(!slot.LargeNeedsLoading());
    QVERIFY(slot.MainNeedsLoading());
    QCOMPARE(slot.Large().size(), QSize(512, 512));
    QCOMPARE(slot.Large().format(), QImage::Format_RGB888);
    QVERIFY2(Near(slot.Large().pixelColor(probe), colour), qPrintable(slot.Large().pixelColor(probe).name()));
}

void TestPictures::missingFileClears() {
    TPhotoSlotPool pool;
    TLotImageLoader loader(pool);
    const QString photo = Write(QStringLiteral("photo.jpg"), Jpeg(Halves({640, 480})));
    const QString card = Write(QStringLiteral("card.jpg"), Jpeg(Quadrants({1024, 1024})));
    loader.LoadLotImage(0, TLotImageLoader::CarPhoto, photo, 45, 123);
    loader.LoadLotImage(0, TLotImageLoader::ExhibitCard, card, 45, 123);

    TImageHolder& slot = loader.LoadLotImage(0, TLotImageLoader::CarPhoto,
                                             m_dir.filePath(QStringLiteral("gone.jpg")), 45, 123);
    QVERIFY(slot.MainNeedsLoading());
    QVERIFY(AllSilver(slot.Main()));
    QVERIFY(AllSilver(slot.Thumbnail()));
    QVERIFY(!slot.LargeNeedsLoading());
    QVERIFY(Near(slot.Large().pixelColor(10, 10), Qt::green));

    loader.LoadLotImage(0, TLotImageLoader::ExhibitCard, m_dir.filePath(QStringLiteral("gone.jpg")), 45, 123);
    QVERIFY(slot.LargeNeedsLoading());
    QVERIFY(AllSilver(slot.Large()));
}

void TestPictures::badFileLeavesSlot_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = Jpeg(Halves({640, 480}));
    QTest::newRow("truncated") << good.first(good.size() / 2);
    QTest::newRow("not a jpeg") << QByteArray("<html>404</html>");
    QTest::newRow("empty") << QByteArray();
}

void TestPictures::badFileLeavesSlot() {
    QFETCH(QByteArray, bytes);
    TPhotoSlotPool pool;
    TLotImageLoader loader(pool);
    const QString card = Write(QStringLiteral("card.jpg"), Jpeg(Quadrants({1024, 1024})));
    TImageHolder& slot = loader.LoadLotImage(0, TLotImageLoader::ExhibitCard, card, 45, 123);
    const QImage largeBefore = slot.Large();

    const QString bad = Write(QStringLiteral("bad.jpg"), bytes);
    loader.LoadLotImage(0, TLotImageLoader::CarPhoto, bad, 45, 123);
    QVERIFY(slot.MainNeedsLoading());
    QVERIFY(AllSilver(slot.Main()));
    QCOMPARE(slot.Large(), largeBefore);
    // A good file afterwards still loads.
    loader.LoadLotImage(0, TLotImageLoader::CarPhoto,
                        Write(QStringLiteral("good.jpg"), Jpeg(Halves({640, 480}))), 45, 123);
    QVERIFY(!slot.MainNeedsLoading());
}

void TestPictures::loadedPictureKept() {
    TPhotoSlotPool pool;
    TLotImageLoader loader(pool);
    const QString first = Write(QStringLiteral("a.jpg"), Jpeg(Halves({640, 480})));
    const QString second = Write(QStringLiteral("b.jpg"), Jpeg(Quadrants({640, 480})));
    TImageHolder& slot = loader.LoadLotImage(0, TLotImageLoader::CarPhoto, first, 45, 123);
    loader.LoadLotImage(0, TLotImageLoader::CarPhoto, second, 45, 123);
    QVERIFY(Near(slot.Main().pixelColor(380, 300), Qt::blue));
}

void TestPictures::sameKeySameSlot() {
    TPhotoSlotPool pool;
    TImageHolder& a = pool.AcquireImageHolder(123, 45, 0);
    a.SetMainLoaded();
    QCOMPARE(&pool.AcquireImageHolder(123, 45, 0), &a);
    QVERIFY(!a.MainNeedsLoading());
    // Any part of the key differing is another slot.
    QVERIFY(&pool.AcquireImageHolder(123, 45, 1) != &a);
    QVERIFY(&pool.AcquireImageHolder(124, 45, 0) != &a);
    QVERIFY(&pool.AcquireImageHolder(123, 46, 0) != &a);
    QVERIFY(!a.MainNeedsLoading());
}

void TestPictures::twoLanesKeepTheirSlots() {
    TPhotoSlotPool pool;
    TLotImageLoader loader(pool);
    const QString photo = Write(QStringLiteral("photo.jpg"), Jpeg(Halves({640, 480})));
    // Lots of both lanes come and go in turns; each lane's current photo stays loaded.
    for (int lot = 1; lot <= 30; ++lot) {
        loader.LoadLotImage(0, TLotImageLoader::CarPhoto, photo, lot, 123);
        loader.LoadLotImage(1, TLotImageLoader::CarPhoto, photo, 10000 + lot, 123);
        QVERIFY(!pool.AcquireImageHolder(123, lot, 0).MainNeedsLoading());
        QVERIFY(!pool.AcquireImageHolder(123, 10000 + lot, 1).MainNeedsLoading());
    }
}

void TestPictures::leastRecentlyUsedReplaced() {
    ManualClock clock;
    ScopedClock installed(clock);
    TPhotoSlotPool pool;
    QList<TImageHolder*> held;
    for (int lot = 1; lot <= TPhotoSlotPool::SlotCount; ++lot) {
        clock.advance(1000);
        TImageHolder& slot = pool.AcquireImageHolder(1, lot, 0);
        slot.SetMainLoaded();
        QVERIFY(!held.contains(&slot));
        held.append(&slot);
    }
    clock.advance(1000);
    pool.AcquireImageHolder(1, 1, 0); // lot 1 used again: lot 2 is now the oldest
    clock.advance(1000);
    TImageHolder& fresh = pool.AcquireImageHolder(1, 99, 0);
    QCOMPARE(&fresh, held[1]);
    QVERIFY(fresh.MainNeedsLoading());
    QVERIFY(!held[0]->MainNeedsLoading());
    QVERIFY(held[0]->HasKey(1, 1, 0));
}

void TestPictures::stillClockStillOrdered() {
    ManualClock clock; // never moves: the order of uses must still decide
    ScopedClock installed(clock);
    TPhotoSlotPool pool;
    TImageHolder& first = pool.AcquireImageHolder(1, 1, 0);
    TImageHolder& second = pool.AcquireImageHolder(1, 2, 0);
    for (int lot = 3; lot <= TPhotoSlotPool::SlotCount; ++lot)
        pool.AcquireImageHolder(1, lot, 0);
    pool.AcquireImageHolder(1, 1, 0);
    TImageHolder& fresh = pool.AcquireImageHolder(1, 99, 0);
    QCOMPARE(&fresh, &second);
    QVERIFY(first.HasKey(1, 1, 0));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
