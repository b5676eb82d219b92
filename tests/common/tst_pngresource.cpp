// Skin images come from Qt resources as 24-bit images.
#include "common/pngresource.h"

#include <QTest>

using namespace qev;

class TestPngResource : public QObject {
    Q_OBJECT

private slots:
    void loadsAs24Bit() {
        const QImage image = LoadPngResource(QStringLiteral("T_PROBE"));
        QVERIFY(!image.isNull());
        QCOMPARE(image.format(), QImage::Format_RGB888);
        QCOMPARE(image.size(), QSize(3, 2));
        QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(0, 1), qRgb(10, 20, 30));
        QCOMPARE(image.pixel(1, 1), qRgb(255, 255, 255));
    }

    void missingOrBrokenIsNull_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("NO_SUCH_IMAGE");
        QTest::newRow("broken") << QStringLiteral("T_BROKEN");
        QTest::newRow("empty name") << QString();
    }
    void missingOrBrokenIsNull() {
        QFETCH(QString, name);
        QVERIFY(LoadPngResource(name).isNull());
    }
};

QTEST_GUILESS_MAIN(TestPngResource)
#include "tst_pngresource.moc"
