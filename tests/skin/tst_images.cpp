#include "skin/skinimages.h"

#include <QtTest>

using namespace qev;

// Every picture the program draws from, at the size and cell layout its users cut it by.
class TstImages : public QObject {
    Q_OBJECT
private slots:
    void sizes_data();
    void sizes();
    void masksAreBlackOutsideTheDisc_data();
    void masksAreBlackOutsideTheDisc();
    void gaugeThirdsAreGreenYellowRed_data();
    void gaugeThirdsAreGreenYellowRed();
};

void TstImages::sizes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    const struct {
        const char* name;
        int w;
        int h;
    } images[] = {
        {"LOGIN", 1024, 730},
        {"LOGIN_CHECKBOX", 37, 148},
        {"BUTTON_LOGIN4ONELANEMODE", 308, 294},
        {"BUTTON_LOGIN4TWOLANEMODE", 308, 294},
        {"BUTTON_LOGIN_CLOSE", 201, 294},
        {"0_CONFIRM_BOX", 391, 345},
        {"0_CONFIRM_BUTTON", 250, 180},
        {"0_ALARM", 73, 76},
        {"1_BASE", 1980, 670},
        {"1_BIDBUTTON", 139, 309},
        {"1_BIDBUTTON_MASK", 139, 103},
        {"1_MESSAGE", 140, 180},
        {"1_GAUGE_ON", 150, 36},
        {"1_GAUGE_OFF", 150, 36},
        {"1_BUTTON_ALANE", 175, 99},
        {"1_BUTTON_BLANE", 175, 99},
        {"2_BASE", 980, 670},
        {"2_BIDBUTTON", 97, 258},
        {"2_BIDBUTTON_MASK", 97, 86},
        {"2_MESSAGE", 103, 165},
        {"2_GAUGE_ON", 111, 33},
        {"2_GAUGE_OFF", 111, 33},
        {"QEV2016_PRICEPANEL_1CH_NUMBERS", 341, 44},
        {"QEV2016_PRICEPANEL_1CH_PERIOD", 19, 43},
        {"QEV2016_PRICEPANEL_1CH_RIGHT", 31, 56},
        {"QEV2016_PRICEPANEL_2CH_NUMBERS", 264, 35},
        {"QEV2016_PRICEPANEL_2CH_PERIOD", 17, 35},
        {"QEV2016_PRICEPANEL_2CH_RIGHT", 24, 48},
        {"QEV2016_HEADER_BASE", 1024, 41},
        {"QEV2016_HEADER_BIDMODE", 204, 105},
        {"QEV2016_HEADER_VOLUME", 164, 70},
        {"QEV2016_HEADER_ALARMSETTING", 154, 105},
        {"QEV2016_HEADER_AUCTION", 154, 105},
        {"QEV2016_HEADER_EXIT", 82, 105},
    };
    for (const auto& i : images)
        QTest::newRow(i.name) << QString::fromLatin1(i.name) << QSize(i.w, i.h);
}

void TstImages::sizes() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage image = LoadSkinImage(name);
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), size);
}

void TstImages::masksAreBlackOutsideTheDisc_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("one-lane") << QStringLiteral("1_BIDBUTTON_MASK");
    QTest::newRow("two-lane") << QStringLiteral("2_BIDBUTTON_MASK");
}

void TstImages::masksAreBlackOutsideTheDisc() {
    QFETCH(QString, name);
    const QImage mask = LoadSkinImage(name);
    QVERIFY(!mask.isNull());
    const int w = mask.width() - 1;
    const int h = mask.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        QCOMPARE(mask.pixel(corner) & 0xFFFFFF, 0u);
    QCOMPARE(mask.pixel(mask.width() / 2, mask.height() / 2) & 0xFFFFFF, 0xFFFFFFu);
    // Only pure black and pure white: the hit test reads "black" exactly.
    for (int y = 0; y <= h; ++y)
        for (int x = 0; x <= w; ++x) {
            const QRgb px = mask.pixel(x, y) & 0xFFFFFF;
            QVERIFY2(px == 0 || px == 0xFFFFFF, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

void TstImages::gaugeThirdsAreGreenYellowRed_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("one-lane") << QStringLiteral("1_GAUGE_ON");
    QTest::newRow("two-lane") << QStringLiteral("2_GAUGE_ON");
}

void TstImages::gaugeThirdsAreGreenYellowRed() {
    QFETCH(QString, name);
    const QImage on = LoadSkinImage(name);
    QVERIFY(!on.isNull());
    const int t = on.width() / 3;
    const int y = on.height() * 2 / 3;
    const QColor green = on.pixelColor(t / 2, y);
    const QColor yellow = on.pixelColor(t + t / 2, y);
    const QColor red = on.pixelColor(2 * t + t / 2, y);
    QVERIFY(green.green() > green.red() && green.green() > green.blue());
    QVERIFY(yellow.red() > 180 && yellow.green() > 140 && yellow.blue() < 100);
    QVERIFY(red.red() > red.green() + 80);
}

QTEST_MAIN(TstImages)
#include "tst_images.moc"
