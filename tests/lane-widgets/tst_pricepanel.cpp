#include "lanes/widgets/qev2016pricepanel.h"
#include "skin/skinimages.h"

#include <QtTest>

using namespace qev;

namespace {

// The pictures of one set, to compare the panel's cells against.
struct Pictures {
    QImage numbers;
    QImage period;
    QImage mark;
    int cell;

    explicit Pictures(const TQEV2016PricePanel::DigitSet& set)
        : numbers(LoadSkinImage(QLatin1String(set.numbers)))
        , period(LoadSkinImage(QLatin1String(set.period)))
        , mark(LoadSkinImage(QLatin1String(set.mark)))
        , cell(set.cellWidth) {}
    QImage Digit(int d) const { return numbers.copy(d * cell, 0, cell, numbers.height()); }
};

QImage White(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage Cut(const QImage& buffer, int x, int y, QSize size) {
    return buffer.copy(QRect(QPoint(x, y), size)).convertToFormat(QImage::Format_RGB32);
}

bool AllWhite(const QImage& image) {
    return image == White(image.size());
}

} // namespace

class TstPricePanel : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void cellsLandWhereTheRulePutsThem_data();
    void cellsLandWhereTheRulePutsThem();
    void noPriceIsWhiteAndClearsMark();
    void markIsDrawnAtItsPlace();
    void twoLaneSetRedrawsAtOnce();
    void sixDigitsAndUpStayInside_data();
    void sixDigitsAndUpStayInside();
    void screenShowsTheBuffer();
};

void TstPricePanel::text_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("-1") << -1 << QStringLiteral("     ");
    QTest::newRow("-7") << -7 << QStringLiteral("     ");
    QTest::newRow("0") << 0 << QStringLiteral("    0");
    QTest::newRow("7") << 7 << QStringLiteral("   07");
    QTest::newRow("12") << 12 << QStringLiteral("   12");
    QTest::newRow("12345") << 12345 << QStringLiteral("12345");
    QTest::newRow("123456") << 123456 << QStringLiteral("123456");
}

void TstPricePanel::text() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(TQEV2016PricePanel::PriceText(value), text);
}

void TstPricePanel::cellsLandWhereTheRulePutsThem_data() {
    QTest::addColumn<bool>("oneLane");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("cells"); // per position: digit, ' ' blank, '.' point, '_' gap, 'u' unit

    for (const bool one : {true, false}) {
        const char* set = one ? "one-lane" : "two-lane";
        QTest::addRow("%s 0", set) << one << 0 << QStringLiteral("    _0u");
        QTest::addRow("%s 7", set) << one << 7 << QStringLiteral("   0.7u");
        QTest::addRow("%s 12", set) << one << 12 << QStringLiteral("   1.2u");
        QTest::addRow("%s 12345", set) << one << 12345 << QStringLiteral("1234.5u");
        QTest::addRow("%s 99999", set) << one << 99999 << QStringLiteral("9999.9u");
    }
}

void TstPricePanel::cellsLandWhereTheRulePutsThem() {
    QFETCH(bool, oneLane);
    QFETCH(int, value);
    QFETCH(QString, cells);

    TQEV2016PricePanel panel;
    panel.SetOneLane(oneLane);
    const auto& set = panel.Set();
    const Pictures pics(set);
    QVERIFY(!pics.numbers.isNull() && !pics.period.isNull());
    panel.SetValue(value);
    const QImage& buffer = panel.BackBuffer();
    QCOMPARE(buffer.size(), set.panelSize);

    int x = set.digits.x();
    const int top = set.digits.y();
    const QSize cellSize(set.cellWidth, pics.numbers.height());
    for (const QChar c : cells) {
        const QString where = QStringLiteral("'%1' at x %2").arg(c).arg(x);
        if (c == QLatin1Char('.')) {
            QVERIFY2(Cut(buffer, x, top, pics.period.size()) == pics.period, qPrintable(where));
            x += pics.period.width();
        } else if (c == QLatin1Char('_')) {
            QVERIFY2(AllWhite(Cut(buffer, x, top, pics.period.size())), qPrintable(where));
            x += pics.period.width();
        } else if (c == QLatin1Char('u')) {
            QVERIFY2(Cut(buffer, x, top, cellSize) == pics.Digit(10), qPrintable(where));
            x += set.cellWidth;
        } else if (c == QLatin1Char(' ')) {
            QVERIFY2(AllWhite(Cut(buffer, x, top, cellSize)), qPrintable(where));
            x += set.cellWidth;
        } else {
            QVERIFY2(Cut(buffer, x, top, cellSize) == pics.Digit(c.digitValue()), qPrintable(where));
            x += set.cellWidth;
        }
    }
    // Nothing right of the unit, nothing left of the digits.
    QVERIFY(AllWhite(buffer.copy(x, 0, buffer.width() - x, buffer.height())));
    QVERIFY(AllWhite(buffer.copy(0, 0, set.digits.x(), buffer.height())));
}

void TstPricePanel::noPriceIsWhiteAndClearsMark() {
    TQEV2016PricePanel panel;
    panel.SetValue(500);
    panel.SetMark(true);
    panel.SetValue(-1);
    QVERIFY(!panel.Mark());
    QCOMPARE(panel.Value(), -1);
    QVERIFY(AllWhite(panel.BackBuffer()));
    panel.SetValue(100);
    QVERIFY(!panel.Mark());
    const Pictures pics(panel.Set());
    QVERIFY(AllWhite(Cut(panel.BackBuffer(), 5, 5, pics.mark.size())));
    panel.SetValue(-25);
    QCOMPARE(panel.Value(), -1);
}

void TstPricePanel::markIsDrawnAtItsPlace() {
    for (const bool one : {true, false}) {
        TQEV2016PricePanel panel;
        panel.SetOneLane(one);
        const Pictures pics(panel.Set());
        panel.SetValue(100);
        panel.SetMark(true);
        const QPoint at = panel.Set().markAt;
        QCOMPARE(Cut(panel.BackBuffer(), at.x(), at.y(), pics.mark.size()), pics.mark);
        panel.SetMark(false);
        QVERIFY(AllWhite(Cut(panel.BackBuffer(), at.x(), at.y(), pics.mark.size())));
    }
}

void TstPricePanel::twoLaneSetRedrawsAtOnce() {
    TQEV2016PricePanel panel;
    QCOMPARE(panel.size(), QSize(291, 66));
    panel.SetValue(12345);
    panel.SetOneLane(false);
    QCOMPARE(panel.size(), QSize(215, 52));
    QCOMPARE(panel.BackBuffer().size(), QSize(215, 52));
    const Pictures small(TQEV2016PricePanel::kTwoLaneSet);
    QCOMPARE(Cut(panel.BackBuffer(), 48, 9, QSize(24, 35)), small.Digit(1));
}

void TstPricePanel::sixDigitsAndUpStayInside_data() {
    QTest::addColumn<bool>("oneLane");
    QTest::addColumn<int>("value");
    for (const bool one : {true, false}) {
        const char* set = one ? "one-lane" : "two-lane";
        QTest::addRow("%s 123456", set) << one << 123456;
        QTest::addRow("%s 1234567", set) << one << 1234567;
        QTest::addRow("%s int max", set) << one << std::numeric_limits<int>::max();
    }
}

void TstPricePanel::sixDigitsAndUpStayInside() {
    QFETCH(bool, oneLane);
    QFETCH(int, value);
    TQEV2016PricePanel panel;
    panel.SetOneLane(oneLane);
    const Pictures pics(panel.Set());
    panel.SetValue(value);
    panel.SetMark(true);
    QCOMPARE(panel.LastText(), QString::number(value));
    const QImage& buffer = panel.BackBuffer();
    // The mark is untouched by the long price and the price leaves the right edge white.
    const QPoint at = panel.Set().markAt;
    QCOMPARE(Cut(buffer, at.x(), at.y(), pics.mark.size()), pics.mark);
    QVERIFY(AllWhite(buffer.copy(buffer.width() - 2, 0, 2, buffer.height())));
    // Digits were drawn: a dark column exists right of the mark.
    bool dark = false;
    for (int x = at.x() + pics.mark.width() + 2; x < buffer.width() && !dark; ++x)
        dark = buffer.pixelColor(x, panel.Set().digits.y() + pics.numbers.height() / 2).lightness() < 100;
    QVERIFY(dark);
}

void TstPricePanel::screenShowsTheBuffer() {
    TQEV2016PricePanel panel;
    panel.SetValue(4321);
    QCOMPARE(panel.grab().toImage().convertToFormat(QImage::Format_RGB32), panel.BackBuffer());
}

QTEST_MAIN(TstPricePanel)
#include "tst_pricepanel.moc"
