#include "lanes/widgets/auctiongauge.h"

#include <QtTest>

using namespace qev;

namespace {

QImage Flat(int w, int h, const QColor& c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

} // namespace

class TstAuctionGauge : public QObject {
    Q_OBJECT
private slots:
    void thirds_data();
    void thirds();
    void outOfRangeIsIgnored_data();
    void outOfRangeIsIgnored();
    void missingPictureDrawsPlainPanel();
};

void TstAuctionGauge::thirds_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last"); // lit columns, -1 for none

    QTest::newRow("150, level 3") << 150 << 36 << 3 << 0 << 49;
    QTest::newRow("150, level 2") << 150 << 36 << 2 << 50 << 99;
    QTest::newRow("150, level 1") << 150 << 36 << 1 << 100 << 149;
    QTest::newRow("150, level 0") << 150 << 36 << 0 << -1 << -1;
    QTest::newRow("111, level 3") << 111 << 33 << 3 << 0 << 36;
    QTest::newRow("111, level 2") << 111 << 33 << 2 << 37 << 73;
    QTest::newRow("111, level 1") << 111 << 33 << 1 << 74 << 110;
}

void TstAuctionGauge::thirds() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, level);
    QFETCH(int, first);
    QFETCH(int, last);

    TAuctionGauge g;
    g.resize(width, height);
    g.SetBitmapOn(Flat(width, height, Qt::green));
    g.SetBitmapOff(Flat(width, height, Qt::black));
    g.SetValue(level);
    for (const QImage& shown : {g.Compose(), g.grab().toImage()}) {
        for (int x = 0; x < width; ++x) {
            const bool lit = x >= first && x <= last;
            for (const int y : {0, height - 1})
                QVERIFY2(shown.pixelColor(x, y) == (lit ? QColor(Qt::green) : QColor(Qt::black)),
                         qPrintable(QStringLiteral("column %1").arg(x)));
        }
    }
}

void TstAuctionGauge::outOfRangeIsIgnored_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("4") << 4;
    QTest::newRow("-1") << -1;
}

void TstAuctionGauge::outOfRangeIsIgnored() {
    QFETCH(int, value);
    TAuctionGauge g;
    g.SetValue(2);
    g.SetValue(value);
    QCOMPARE(g.Value(), 2);
}

void TstAuctionGauge::missingPictureDrawsPlainPanel() {
    TAuctionGauge g;
    g.resize(150, 36);
    g.SetBitmapOn(Flat(150, 36, Qt::green));
    g.SetValue(3);
    QCOMPARE(g.Compose().pixelColor(10, 10), g.palette().color(QPalette::Window));
}

QTEST_MAIN(TstAuctionGauge)
#include "tst_auctiongauge.moc"
