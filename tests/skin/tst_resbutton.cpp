#include "common/clock.h"
#include "skin/fontsetup.h"
#include "skin/qev2016jresbutton.h"
#include "skin/qev2016orgresbutton.h"
#include "skin/qev2016resbutton.h"
#include "skin/resbutton.h"

#include <QPainter>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <stdexcept>

using namespace qev;

namespace {

// A strip whose every cell is one flat colour, so a grabbed button tells which cell it shows.
QColor CellColour(int col, int row) {
    return QColor(40 + col * 60, 30 + row * 50, 200 - row * 40);
}

QImage FlatStrip(int cellW, int cellH, int cols, int rows) {
    QImage strip(cellW * cols, cellH * rows, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            p.fillRect(c * cellW, r * cellH, cellW, cellH, CellColour(c, r));
    return strip;
}

QColor Shown(QWidget& w) {
    return w.grab().toImage().pixelColor(w.width() / 2, w.height() / 2);
}

// Records click-sound requests instead of playing them.
class QuietButton : public TResButton {
public:
    using TResButton::TResButton;
    QList<QUrl> played;

protected:
    void PlaySound(const QUrl& source, bool) override { played.append(source); }
};

} // namespace

class TstResButton : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutions(); }

    void geometry_data();
    void geometry();
    void disablityOffClearsDownRow();
    void rowChoice_data();
    void rowChoice();
    void paintsTheChosenCell();
    void clickOnRelease();
    void transparentShowsBaseUnderKeyColour();
    void repeatWhileHeld();
    void repeatPausesOutsideAndResumes();
    void stalledLoopDoesNotBurst();
    void repeatStopsWhenDisabledOrHidden();
    void repeatSurvivesThrowingHandler();
    void handlerMayDestroyButton();
    void intervalNeverBelowOne_data();
    void intervalNeverBelowOne();
    void maskRefusesPressOutsideShape();
    void maskDecidesInsideWhileCaptured();
    void valueButtonWraps();
    void valueButtonNormalisesNegative();
    void clickSoundSource_data();
    void clickSoundSource();
    void clickSoundOnlyWhenEnabledAndSet();
};

void TstResButton::geometry_data() {
    QTest::addColumn<QSize>("strip");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<int>("cols");
    QTest::addColumn<bool>("disablity");
    QTest::addColumn<bool>("downRow");
    QTest::addColumn<int>("wantCols");
    QTest::addColumn<QSize>("wantSize");

    QTest::newRow("bid button, 3 rows")
        << QSize(139, 309) << 109 << true << 1 << true << false << 1 << QSize(139, 103);
    QTest::newRow("bid strip, 4 rows")
        << QSize(139, 309) << 139 << true << 1 << true << true << 1 << QSize(139, 77);
    QTest::newRow("login button, form said 3 cols")
        << QSize(308, 294) << 308 << true << 3 << true << false << 1 << QSize(308, 98);
    QTest::newRow("report button, no auto size")
        << QSize(250, 180) << 250 << false << 1 << true << false << 1 << QSize(250, 60);
    QTest::newRow("bid-mode pair") << QSize(204, 105) << 102 << true << 2 << true << false << 2
                                   << QSize(102, 35);
    QTest::newRow("two rows") << QSize(154, 70) << 154 << true << 1 << false << false << 1 << QSize(154, 35);
    QTest::newRow("zero columns draws nothing")
        << QSize(100, 60) << 50 << false << 0 << false << false << 0 << QSize(50, 20);
}

void TstResButton::geometry() {
    QFETCH(QSize, strip);
    QFETCH(int, width);
    QFETCH(bool, autoSize);
    QFETCH(int, cols);
    QFETCH(bool, disablity);
    QFETCH(bool, downRow);
    QFETCH(int, wantCols);
    QFETCH(QSize, wantSize);

    TResButton b;
    b.resize(width, 20);
    b.SetAutoSize(autoSize);
    b.SetButtonCols(cols);
    b.SetButtonDisablity(disablity);
    b.SetButtonCouldBeDowned(downRow);
    b.SetBitmap(FlatStrip(strip.width(), strip.height(), 1, 1));
    QCOMPARE(b.ButtonCols(), wantCols);
    QCOMPARE(b.size(), wantSize);
}

void TstResButton::disablityOffClearsDownRow() {
    TResButton b;
    b.resize(139, 10);
    b.SetButtonDisablity(true);
    b.SetButtonCouldBeDowned(true);
    b.SetBitmap(FlatStrip(139, 309, 1, 1));
    QCOMPARE(b.RowCount(), 4);
    b.SetButtonDisablity(false);
    QVERIFY(!b.ButtonCouldBeDowned());
    QCOMPARE(b.RowCount(), 2);
    QCOMPARE(b.CellHeight(), 154);
}

void TstResButton::rowChoice_data() {
    QTest::addColumn<bool>("twoState");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<bool>("movedOut");
    QTest::addColumn<int>("row");

    QTest::newRow("normal") << false << false << true << false << false << false << 0;
    QTest::newRow("pressed") << false << false << true << false << true << false << 1;
    QTest::newRow("pressed, pointer moved out") << false << false << true << false << true << true << 0;
    QTest::newRow("disabled") << false << false << false << false << false << false << 2;
    QTest::newRow("down beats disabled") << false << false << false << true << false << false << 3;
    QTest::newRow("two-state unchecked") << true << false << true << false << false << false << 0;
    QTest::newRow("two-state checked") << true << true << true << false << false << false << 1;
    QTest::newRow("two-state unchecked while pressed")
        << true << false << true << false << true << false << 0;
    QTest::newRow("disabled two-state shows disabled")
        << true << true << false << false << false << false << 2;
}

void TstResButton::rowChoice() {
    QFETCH(bool, twoState);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QFETCH(bool, down);
    QFETCH(bool, pressed);
    QFETCH(bool, movedOut);
    QFETCH(int, row);

    TResButton b;
    b.resize(40, 10);
    b.SetButtonDisablity(true);
    b.SetButtonCouldBeDowned(true);
    b.SetBitmap(FlatStrip(40, 20, 1, 4));
    b.SetTwoState(twoState);
    b.SetChecked(checked);
    if (pressed)
        b.Press({5, 5});
    if (movedOut)
        b.Move({-5, 5});
    b.setEnabled(enabled);
    b.SetDown(down);
    QCOMPARE(b.Row(), row);
    QCOMPARE(Shown(b), CellColour(0, row));
}

void TstResButton::paintsTheChosenCell() {
    TResButton b;
    b.resize(30, 10);
    b.SetButtonDisablity(true);
    b.SetBitmap(FlatStrip(30, 20, 2, 3));
    QCOMPARE(b.ButtonCols(), 2);
    b.SetButtonIndex(1);
    QCOMPARE(Shown(b), CellColour(1, 0));
    b.setEnabled(false);
    QCOMPARE(Shown(b), CellColour(1, 2));
}

void TstResButton::clickOnRelease() {
    TResButton b;
    b.resize(40, 10);
    b.SetBitmap(FlatStrip(40, 20, 1, 2));
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    int clicks = 0;
    b.OnClick = [&](TResButton* sender) {
        QCOMPARE(sender, &b);
        ++clicks;
    };
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(clicks, 1);
    QVERIFY(!b.Captured());
    // Released outside: no click.
    b.Press({20, 10});
    b.Move({200, 10});
    QCOMPARE(b.Row(), 0);
    b.ReleaseAt({200, 10});
    QCOMPARE(clicks, 1);
    // A latched-down button is not pressable.
    b.SetDown(true);
    b.Press({20, 10});
    b.ReleaseAt({20, 10});
    QCOMPARE(clicks, 1);
}

void TstResButton::transparentShowsBaseUnderKeyColour() {
    // Cell: left half the key colour (white), right half red; base: every column its own colour.
    QImage strip(20, 20, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter(&strip).fillRect(10, 0, 10, 10, Qt::red);
    QImage base(100, 50, QImage::Format_RGB32);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            base.setPixel(x, y, qRgb(x, y, 77));
    TResButton b;
    b.resize(20, 10);
    b.SetBitmap(strip);
    b.SetTransparentBase(base);
    b.SetTransparentBaseX(30);
    b.SetTransparentBaseY(7);
    QCOMPARE(b.grab().toImage().pixelColor(3, 4), QColor(Qt::white)); // off: a plain copy
    b.SetTransparent(true);
    const QImage shown = b.grab().toImage();
    QCOMPARE(shown.pixel(3, 4), base.pixel(33, 11));
    QCOMPARE(shown.pixel(9, 0), base.pixel(39, 7));
    QCOMPARE(shown.pixelColor(10, 4), QColor(Qt::red));
}

namespace {

struct HeldButton {
    ManualClock clock{1'000'000};
    ScopedClock scoped{clock};
    TQEV2016ResButton button;
    QList<qint64> clicksAt;

    explicit HeldButton(int interval) {
        button.resize(100, 10);
        button.SetButtonDisablity(true);
        button.SetBitmap(FlatStrip(100, 90, 1, 1));
        button.SetAutoClick(true);
        button.SetAutoClickInterval(interval);
        button.OnClick = [this](TResButton*) { clicksAt.append(clock.nowMs() - 1'000'000); };
    }
    // Moves time in steps, letting the timer tick at each step as the event loop would.
    void HoldFor(qint64 ms, qint64 step = 50) {
        for (qint64 t = 0; t < ms; t += step) {
            clock.advance(step);
            button.RepeatTimerTick();
        }
    }
};

} // namespace

void TstResButton::repeatWhileHeld() {
    HeldButton h(700);
    h.button.Press({50, 15});
    QVERIFY(h.button.RepeatTimer()->isActive());
    h.HoldFor(1500);
    h.button.ReleaseAt({50, 15});
    QCOMPARE(h.clicksAt, (QList<qint64>{0, 700, 1400}));
    QVERIFY(!h.button.RepeatTimer()->isActive());
    h.HoldFor(2000);
    QCOMPARE(h.clicksAt.size(), 3);
}

void TstResButton::repeatPausesOutsideAndResumes() {
    HeldButton h(500);
    h.button.Press({50, 15});
    h.HoldFor(400);
    h.button.Move({500, 15});
    h.HoldFor(600); // the 500 ms tick passes outside: no click
    h.button.Move({50, 15});
    h.HoldFor(500);
    QCOMPARE(h.clicksAt, (QList<qint64>{0, 1500}));
}

void TstResButton::stalledLoopDoesNotBurst() {
    HeldButton h(700);
    h.button.Press({50, 15});
    // The event loop was blocked for 2.5 s: one late tick, one click, then the normal pace.
    h.clock.advance(2500);
    h.button.RepeatTimerTick();
    h.button.RepeatTimerTick();
    QCOMPARE(h.clicksAt, (QList<qint64>{0, 2500}));
    h.HoldFor(700);
    QCOMPARE(h.clicksAt, (QList<qint64>{0, 2500, 3200}));
}

void TstResButton::repeatStopsWhenDisabledOrHidden() {
    for (const bool hide : {false, true}) {
        HeldButton h(300);
        h.button.show();
        h.button.Press({50, 15});
        h.HoldFor(300);
        if (hide)
            h.button.hide();
        else
            h.button.setEnabled(false);
        QVERIFY(!h.button.Captured());
        QVERIFY(!h.button.RepeatEnabled());
        h.HoldFor(1000);
        QCOMPARE(h.clicksAt, (QList<qint64>{0, 300}));
    }
}

void TstResButton::repeatSurvivesThrowingHandler() {
    HeldButton h(100);
    int calls = 0;
    h.button.OnClick = [&](TResButton*) {
        ++calls;
        throw std::runtime_error("handler failed");
    };
    h.button.Press({50, 15});
    h.HoldFor(300, 100);
    QCOMPARE(calls, 4);
}

void TstResButton::handlerMayDestroyButton() {
    auto owner = std::make_unique<TResButton>();
    owner->resize(40, 10);
    owner->SetBitmap(FlatStrip(40, 20, 1, 2));
    bool fired = false;
    owner->OnClick = [&](TResButton*) {
        fired = true;
        owner.reset();
    };
    TResButton* b = owner.get();
    b->Press({5, 5});
    b->ReleaseAt({5, 5});
    QVERIFY(fired);
    QVERIFY(!owner);
}

void TstResButton::intervalNeverBelowOne_data() {
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("stored");
    QTest::newRow("-5") << -5 << 1;
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("3000") << 3000 << 3000;
}

void TstResButton::intervalNeverBelowOne() {
    QFETCH(int, set);
    QFETCH(int, stored);
    TResButton b;
    b.SetAutoClick(true);
    b.SetAutoClickInterval(set);
    QCOMPARE(b.AutoClickInterval(), stored);
    QCOMPARE(b.RepeatTimer()->interval(), stored);
}

void TstResButton::maskRefusesPressOutsideShape() {
    // Black corners, a white disc: the bid button's shape.
    QImage m(139, 103, QImage::Format_RGB32);
    m.fill(Qt::black);
    {
        QPainter p(&m);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPoint(69, 51), 48, 48);
    }
    TQEV2016ResButton b;
    b.resize(109, 103);
    b.SetButtonDisablity(true);
    b.SetAutoClick(true);
    b.SetBitmap(FlatStrip(139, 309, 1, 1));
    b.SetMask(m);
    QCOMPARE(b.size(), QSize(139, 103));
    int clicks = 0;
    b.OnClick = [&](TResButton*) { ++clicks; };

    b.Press({2, 2}); // a corner, outside the disc
    QVERIFY(!b.Captured());
    QCOMPARE(clicks, 0);
    QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
    b.ReleaseAt({2, 2});
    QCOMPARE(clicks, 0);

    b.Press({69, 51});
    QVERIFY(b.Captured());
    QCOMPARE(clicks, 1);
    QCOMPARE(b.cursor().shape(), Qt::PointingHandCursor);
}

void TstResButton::maskDecidesInsideWhileCaptured() {
    QImage m(100, 30, QImage::Format_RGB32);
    m.fill(Qt::white);
    for (int y = 0; y < 30; ++y)
        m.setPixel(90, y, qRgb(0, 0, 0));
    TQEV2016ResButton b;
    b.resize(100, 30);
    b.SetAutoSize(false);
    b.SetBitmap(FlatStrip(100, 60, 1, 1));
    b.SetMask(m);
    b.Press({10, 10});
    QCOMPARE(b.Row(), 1);
    b.Move({90, 10}); // black mask pixel inside the rectangle
    QVERIFY(!b.PointerInside());
    QCOMPARE(b.Row(), 0);
    b.Move({91, 10});
    QVERIFY(b.PointerInside());
}

void TstResButton::valueButtonWraps() {
    TQEV2016JResButton b;
    b.resize(41, 35);
    b.SetBitmap(FlatStrip(164, 70, 1, 1));
    QCOMPARE(b.ButtonCols(), 4);
    b.SetValue(3);
    QStringList order;
    b.OnValue = [&](TQEV2016JResButton*, int v) { order << QStringLiteral("value %1").arg(v); };
    b.OnClick = [&](TResButton*) { order << QStringLiteral("click"); };
    b.Press({5, 5});
    QCOMPARE(b.Row(), 1);
    b.ReleaseAt({5, 5});
    QCOMPARE(b.Value(), 0);
    QCOMPARE(order, (QStringList{QStringLiteral("value 0"), QStringLiteral("click")}));
    QCOMPARE(b.Row(), 0);
}

void TstResButton::valueButtonNormalisesNegative() {
    TQEV2016JResButton b;
    b.resize(41, 35);
    b.SetBitmap(FlatStrip(164, 70, 1, 1));
    b.SetButtonCols(0); // ignored
    QCOMPARE(b.ButtonCols(), 4);
    b.SetValue(-1);
    QCOMPARE(b.Value(), 3);
    b.SetValue(9);
    QCOMPARE(b.Value(), 1);
}

void TstResButton::clickSoundSource_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QUrl>("source");
    QTest::newRow("resource") << QStringLiteral("'CLICK'") << QUrl(QStringLiteral("qrc:/sounds/CLICK.wav"));
    QTest::newRow("file") << QStringLiteral("/tmp/click.wav")
                          << QUrl::fromLocalFile(QStringLiteral("/tmp/click.wav"));
    QTest::newRow("lone quote is a file") << QStringLiteral("'") << QUrl::fromLocalFile(QStringLiteral("'"));
}

void TstResButton::clickSoundSource() {
    QFETCH(QString, setting);
    QFETCH(QUrl, source);
    QCOMPARE(TResButton::ClickSoundSource(setting), source);
}

void TstResButton::clickSoundOnlyWhenEnabledAndSet() {
    QuietButton b;
    b.resize(40, 10);
    b.SetBitmap(FlatStrip(40, 20, 1, 2));
    b.show();
    b.Press({5, 5});
    b.ReleaseAt({5, 5});
    QVERIFY(b.played.isEmpty()); // no sound set
    b.SetClickSoundFile(QStringLiteral("'PUSH'"));
    b.Press({5, 5});
    b.ReleaseAt({5, 5});
    QCOMPARE(b.played, (QList<QUrl>{QUrl(QStringLiteral("qrc:/sounds/PUSH.wav"))}));
    b.hide();
    b.Click();
    QCOMPARE(b.played.size(), 1);
}

QTEST_MAIN(TstResButton)
#include "tst_resbutton.moc"
