#include "skin/fontsetup.h"
#include "skin/qev2016grespanel.h"
#include "skin/qev2016jpanel.h"
#include "skin/qev2016panel.h"
#include "skin/textimage.h"

#include <QPainter>
#include <QtTest>
#include <limits>

using namespace qev;

namespace {

QFont Gothic(int px) {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(px);
    return f;
}

// Every pixel tells its own coordinates, so a copied window shows where it came from.
QImage CoordinateImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + (y / 256)));
    return image;
}

QImage Grab(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TstSkinPanels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutions(); }

    void gothicNamesResolveToIpa();
    void emptyTextImage();
    void panelCutsTrailingBlanks_data();
    void panelCutsTrailingBlanks();
    void wideTextGetsSeparatorAndOffset();
    void borderGeometry_data();
    void borderGeometry();
    void borderWidthZeroKeepsPrevious();
    void jpanelTextPosition_data();
    void jpanelTextPosition();
    void jpanelBackgroundFromParentPosition();
    void jpanelBackgroundFromOrigin();
    void jpanelAutoSize();
    void gresPanelShowsWindow_data();
    void gresPanelShowsWindow();
};

void TstSkinPanels::gothicNamesResolveToIpa() {
    QCOMPARE(QFontInfo(Gothic(20)).family(), QStringLiteral("IPAPGothic"));
    QFont mono(QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(QFontInfo(mono).family(), QStringLiteral("IPAGothic"));
}

void TstSkinPanels::emptyTextImage() {
    const QColor colour(255, 253, 101);
    const QImage image = BuildTextImage(QString(), Gothic(20), 0, Qt::black, colour);
    QCOMPARE(image.width(), 1);
    // A quarter of the four-fold line height plus one: about one line of the font.
    QVERIFY(qAbs(image.height() - (SpaceHeight(Gothic(20)) + 1)) <= 1);
    for (int y = 0; y < image.height(); ++y)
        QCOMPARE(image.pixelColor(0, y), colour);
}

void TstSkinPanels::panelCutsTrailingBlanks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("two spaces") << QStringLiteral("1234  ") << QStringLiteral("1234");
    QTest::newRow("control characters") << QStringLiteral("ab\r\n\t") << QStringLiteral("ab");
    QTest::newRow("inner blank stays") << QStringLiteral(" a b") << QStringLiteral(" a b");
    QTest::newRow("only blanks") << QStringLiteral("   ") << QString();
}

void TstSkinPanels::panelCutsTrailingBlanks() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    TQEV2016Panel p;
    p.resize(200, 30);
    p.SetText(text);
    QCOMPARE(p.Text(), stored);
    QCOMPARE(p.windowTitle(), stored);
}

void TstSkinPanels::wideTextGetsSeparatorAndOffset() {
    TQEV2016Panel p;
    p.resize(60, 34);
    p.setFont(Gothic(20));
    p.SetColor(QColor(255, 253, 101));
    p.SetSeparator(QStringLiteral(" ／ "));
    const QString text = QStringLiteral("あと3台で 123 トヨタ クラウン");
    p.SetText(text);
    const QImage withSeparator =
        BuildTextImage(text + QStringLiteral(" ／ "), p.font(), 0, Qt::black, QColor(255, 253, 101));
    QCOMPARE(p.TextImage().width(), withSeparator.width());
    QCOMPARE(p.TextTop(), (34 - SpaceHeight(p.font())) / 2);
    // A narrow text keeps its own image.
    p.SetText(QStringLiteral("12"));
    QCOMPARE(p.TextImage().width(),
             BuildTextImage(QStringLiteral("12"), p.font(), 0, Qt::black, QColor(255, 253, 101)).width());

    // With offset 2 the first two columns are the panel colour, the text starts after them.
    p.SetText(QStringLiteral("■■■■■■■■■■"));
    p.SetTextOffset(2);
    const QImage shown = Grab(p);
    const int y = p.TextTop() + p.TextImage().height() / 2;
    QCOMPARE(shown.pixelColor(0, y), QColor(255, 253, 101));
    QCOMPARE(shown.pixelColor(1, y), QColor(255, 253, 101));
    bool dark = false;
    for (int x = 2; x < 8; ++x)
        dark = dark || shown.pixelColor(x, y).lightness() < 100;
    QVERIFY(dark);
}

void TstSkinPanels::borderGeometry_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("inner"); // first column that is not border
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("3") << 3 << 3;
    QTest::newRow("4") << 4 << 4;
}

void TstSkinPanels::borderGeometry() {
    QFETCH(int, width);
    QFETCH(int, inner);
    TQEV2016Panel p;
    p.resize(40, 20);
    p.SetColor(Qt::white);
    p.SetBorder(true);
    p.SetBorderColor(Qt::red);
    p.SetBorderWidth(width);
    const QImage shown = Grab(p);
    for (int x = 0; x < inner; ++x) {
        QCOMPARE(shown.pixelColor(x, 10), QColor(Qt::red));
        QCOMPARE(shown.pixelColor(39 - x, 10), QColor(Qt::red));
    }
    QCOMPARE(shown.pixelColor(inner, 10), QColor(Qt::white));
    QCOMPARE(shown.pixelColor(39 - inner, 10), QColor(Qt::white));
    QCOMPARE(shown.pixelColor(20, inner), QColor(Qt::white));
    QCOMPARE(shown.pixelColor(20, 0), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(20, 19), QColor(Qt::red));
}

void TstSkinPanels::borderWidthZeroKeepsPrevious() {
    TQEV2016Panel p;
    p.SetBorderWidth(3);
    p.SetBorderWidth(0);
    QCOMPARE(p.BorderWidth(), 3);
    p.SetBorderWidth(-2);
    QCOMPARE(p.BorderWidth(), 3);
}

void TstSkinPanels::jpanelTextPosition_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("xRule");
    QTest::addColumn<QString>("yRule");

    const QString shortText = QStringLiteral("3.5");
    const QString longText = QStringLiteral("トヨタ クラウン アスリート 2.5 ハイブリッド");
    const int hi = std::numeric_limits<int>::max();
    const int lo = std::numeric_limits<int>::min();
    QTest::newRow("left, top 3") << shortText << 0 << 3 << QStringLiteral("zero") << QStringLiteral("top");
    QTest::newRow("right") << shortText << 1 << 0 << QStringLiteral("right") << QStringLiteral("top");
    QTest::newRow("centred, largest int")
        << shortText << 2 << hi << QStringLiteral("centre") << QStringLiteral("middle");
    QTest::newRow("smallest int centres too")
        << shortText << 0 << lo << QStringLiteral("zero") << QStringLiteral("middle");
    QTest::newRow("top -3 starts above")
        << shortText << 0 << -3 << QStringLiteral("zero") << QStringLiteral("top");
    QTest::newRow("wide centred goes negative")
        << longText << 2 << 0 << QStringLiteral("centre") << QStringLiteral("top");
}

void TstSkinPanels::jpanelTextPosition() {
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(int, top);
    QFETCH(QString, xRule);
    QFETCH(QString, yRule);

    TQEV2016JPanel p;
    p.resize(120, 37);
    p.setFont(Gothic(25));
    p.SetAlignment(alignment);
    p.SetTextTop(top);
    p.SetText(text);
    const int w = p.TextImage().width();
    int x = 0;
    if (xRule == QLatin1String("right"))
        x = 120 - w;
    else if (xRule == QLatin1String("centre"))
        x = (120 - w) / 2;
    const int y = yRule == QLatin1String("middle") ? (37 - SpaceHeight(p.font())) / 2 : top;
    QCOMPARE(p.TextPosition(), QPoint(x, y));
    if (text.size() > 10)
        QVERIFY(p.TextPosition().x() < 0);
}

void TstSkinPanels::jpanelBackgroundFromParentPosition() {
    QWidget parent;
    parent.resize(400, 400);
    const QImage back = CoordinateImage(400, 400);
    auto* p = new TQEV2016JPanel(&parent);
    p->setGeometry(70, 248, 120, 30);
    p->SetColor(QColor(255, 254, 193));
    p->SetBackImage(back);
    p->SetText(QStringLiteral("8"));
    p->SetAlignment(TQEV2016JPanel::AlignLeft);
    const QImage shown = Grab(*p);
    // Outside the text's rectangle: the parent's picture from the panel's own place.
    QCOMPARE(shown.pixel(100, 25), back.pixel(170, 273));
    QCOMPARE(shown.pixel(119, 0), back.pixel(189, 248));
    // Inside the text's rectangle the panel colour stays behind the letter.
    QCOMPARE(shown.pixelColor(p->TextImage().width() - 1, 0), QColor(255, 254, 193));
}

void TstSkinPanels::jpanelBackgroundFromOrigin() {
    QWidget parent;
    const QImage back = CoordinateImage(400, 400);
    auto* p = new TQEV2016JPanel(&parent);
    p->setGeometry(70, 248, 120, 30);
    p->SetBackImage(back);
    p->SetBackFromOrigin(true);
    QCOMPARE(Grab(*p).pixel(100, 25), back.pixel(100, 25));
    p->SetUseBackImage(false);
    p->SetColor(QColor(1, 2, 3));
    QCOMPARE(Grab(*p).pixelColor(100, 25), QColor(1, 2, 3));
}

void TstSkinPanels::jpanelAutoSize() {
    TQEV2016JPanel p;
    p.setFont(Gothic(20));
    p.SetCharExtra(3);
    p.SetText(QStringLiteral("落札金額"));
    p.SetAutoSizeToText(true);
    QCOMPARE(p.size(), p.TextImage().size());
    // The extra space per character widens it.
    TQEV2016JPanel q;
    q.setFont(Gothic(20));
    q.SetText(QStringLiteral("落札金額"));
    QVERIFY(p.TextImage().width() >= q.TextImage().width() + 4 * 3 - 1);
}

void TstSkinPanels::gresPanelShowsWindow_data() {
    QTest::addColumn<QPoint>("source");
    QTest::newRow("lane A's half") << QPoint(0, 0);
    QTest::newRow("lane B's half") << QPoint(990, 0);
    QTest::newRow("a strip cell") << QPoint(0, 144);
}

void TstSkinPanels::gresPanelShowsWindow() {
    QFETCH(QPoint, source);
    const QImage image = CoordinateImage(1980, 400);
    TQEV2016GResPanel p;
    p.resize(140, 36);
    p.SetImage(image);
    p.SetSourceX(source.x());
    p.SetSourceY(source.y());
    const QImage shown = Grab(p);
    QCOMPARE(shown.pixel(0, 0), image.pixel(source));
    QCOMPARE(shown.pixel(139, 35), image.pixel(source + QPoint(139, 35)));
}

QTEST_MAIN(TstSkinPanels)
#include "tst_skinpanels.moc"
