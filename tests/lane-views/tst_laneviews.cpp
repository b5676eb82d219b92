// The lane views against a window stand-in and a session signed in to the local auction house:
// when the bid button may be pressed, what a press sends, the won-bid report, the lane-over
// timer, the alarm rows, the card area and where every view kind puts its parts.
#include "common/imageholder.h"
#include "common/pumpwait.h"
#include "lanes/views/cardarea.h"
#include "lanes/views/laneviewimages.h"
#include "lanes/views/picturebox.h"
#include "lanes/views/tdumwin.h"
#include "lanes/views/twin1of2.h"
#include "lanes/views/twin1of4.h"
#include "lanes/widgets/qev2016pricepanel.h"
#include "skin/fontsetup.h"
#include "skin/qev2016grespanel.h"
#include "skin/qev2016jpanel.h"
#include "skin/qev2016panel.h"
#include "skin/qev2016resbutton.h"
#include "tools/auction-house/lanes/bidrecorder.h"
#include "tools/lane-harness/signedinsession.h"
#include "tools/lane-harness/standinhost.h"

#include <QTest>

using namespace qev;

namespace {

constexpr int kWaitMs = 10000;

QList<AlarmItem> Alarms(std::initializer_list<std::pair<int, bool>> entries) {
    QList<AlarmItem> out;
    for (const auto& [exhibit, mine] : entries)
        out.append({QByteArray::number(exhibit) + ",car " + QByteArray::number(exhibit), mine});
    return out;
}

// The list of the alarm example: lots 10 to 16, 12 and 15 watched.
QList<AlarmItem> ExampleList() {
    return Alarms({{10, false}, {11, false}, {12, true}, {13, false}, {14, false}, {15, true}, {16, false}});
}

TLotRecord Lot(int exhibit, const QString& more = {}) {
    return RecordFromText(QStringLiteral("REAL_EXHIBIT_NO=%1\nREAL_NENSHIKI=2015\nREAL_CAR_NAME=プリウス\n"
                                         "REAL_START_PRICE=500000\n")
                              .arg(exhibit) +
                          more);
}

} // namespace

class TestLaneViews : public QObject {
    Q_OBJECT

    LaneViewImages m_images;
    SignedInSession m_session;
    QWidget m_panel;

    // A view of the kind ("one" or "two") for lane 0, attached to the session, its lot shown.
    std::unique_ptr<TLaneView> MakeView(StandInHost& host, const QByteArray& kind, int lane = 0,
                                        TProcsDm* session = nullptr) {
        std::unique_ptr<TLaneView> view;
        if (kind == "one")
            view = std::make_unique<TWin1Of2>(host, m_images);
        else
            view = std::make_unique<TWin1Of4>(host, m_images);
        view->Lane = lane;
        view->Attach(&m_panel, session ? session : m_session.dm.get());
        view->setParent(nullptr); // the test owns it, not the panel
        view->SiteNumber = 12;
        view->ExhibitNo = 105;
        return view;
    }
    static void OpenBidding(TLaneView& view) {
        view.SetLotState(2);
        view.UpdateBidButton();
    }

private slots:
    void initTestCase();
    void bidButton_data();
    void bidButton();
    void bidClickWindow();
    void holdRepeats_data();
    void holdRepeats();
    void noReserveSkip_data();
    void noReserveSkip();
    void bidSentStyleTimer();
    void wonReport();
    void closeReport_data();
    void closeReport();
    void laneOver_data();
    void laneOver();
    void laneNotice_data();
    void laneNotice();
    void thisLaneAlarm_data();
    void thisLaneAlarm();
    void otherLaneRows_data();
    void otherLaneRows();
    void cardArea_data();
    void cardArea();
    void lotStateStrip_data();
    void lotStateStrip();
    void placement_data();
    void placement();
    void currentLotAndPhoto();
    void placeholderDoesNothing();
};

void TestLaneViews::initTestCase() {
    InstallFontSubstitutions();
    m_images = LaneViewImages::Load();
    QVERIFY(!m_images.oneLaneBase.isNull());
    QVERIFY(m_session.Start());
}

void TestLaneViews::bidButton_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("breaks");
    QTest::addColumn<bool>("enabled");
    for (const QByteArray kind : {"one", "two"}) {
        const auto row = [&kind](const char* name, const char* breaks, bool enabled) {
            QTest::addRow("%s %s", kind.constData(), name) << kind << QByteArray(breaks) << enabled;
        };
        row("all hold", "", true);
        row("lot not shown", "notShown", false);
        row("not active", "inactive", false);
        row("report kind", "kindSold", false);
        row("watch router", "watching", false);
        row("own lot", "ownLot", false);
        row("lane over", "over", false);
        // One rule per lot in both views: the house's flag closes bidding in two-lane mode too.
        row("bid flag", "flag", false);
        row("bid flag 0", "flag0", true);
        row("no reserve state", "state7", true);
        row("sold state", "state8", false);
        row("won state", "state9", false);
        row("unsold state", "state10", false);
        row("closing cue", "state11", false);
        // A report the window no longer counts as open: only the one-lane view still refuses.
        row("report open", "reportOpen", kind == "two");
    }
}

void TestLaneViews::bidButton() {
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, breaks);
    QFETCH(bool, enabled);
    StandInHost host;
    host.record = Lot(105);
    host.exhibitor = "2002";
    auto view = MakeView(host, kind);
    OpenBidding(*view);
    QVERIFY(view->BidButton()->isEnabled());

    if (breaks == "watching")
        QVERIFY(m_session.Route(rcNB));
    host.lotShown = breaks != "notShown";
    host.active = breaks != "inactive";
    if (breaks == "kindSold")
        host.kind = mtSold;
    if (breaks == "ownLot")
        host.exhibitor = "1001";
    if (breaks == "over")
        view->ShowMessage(mtOver, {});
    if (breaks.startsWith("flag"))
        host.record = Lot(105, QStringLiteral("!!セリフラグ=%1\n").arg(breaks == "flag" ? 1 : 0));
    if (breaks.startsWith("state"))
        view->SetLotState(breaks.mid(5).toInt());
    if (breaks == "reportOpen") {
        view->ShowMessage(mtSold, {QStringLiteral("0105"), QStringLiteral("100.0")});
        host.kind = mtNone;
    }
    view->UpdateBidButton();
    const bool result = view->BidButton()->isEnabled();
    QVERIFY(m_session.Route(rcBD));
    QCOMPARE(result, enabled);
}

void TestLaneViews::bidClickWindow() {
    StandInHost host;
    host.record = Lot(105);
    auto view = MakeView(host, "one");
    OpenBidding(*view);
    const int before = m_session.BidsAtRouter();
    const qint64 start = m_session.clock.nowMs();
    view->BidClick();
    m_session.clock.advance(300);
    view->BidClick(); // inside the window: refused, the window stays where it was
    QCOMPARE(view->LastBidClickMs(), start);
    m_session.clock.advance(300);
    view->BidClick(); // 600 ms after the first
    QCOMPARE(view->LastBidClickMs(), start + 600);
    QCOMPARE(host.Pushes(), 2);
    QCOMPARE(host.countdownResets, 2);
    QCOMPARE(view->PriceStyle(), quint8(2));
    QVERIFY(view->TimeBD().isActive());
    QTRY_COMPARE_WITH_TIMEOUT(m_session.BidsAtRouter(), before + 2, kWaitMs);
    PumpFor(50);
    QCOMPARE(m_session.BidsAtRouter(), before + 2);
    const RecordedLine last = m_session.lanes.Recorder().Bids().last();
    QCOMPARE(last.lane, 0);
    QCOMPARE(last.member, QByteArray("1001"));
    // Site, lot, the ciphered ID, then the price shown.
    QVERIFY(last.payload.startsWith("12,105,"));
    QCOMPARE(last.payload.split(',').value(3), QByteArray("1000"));
}

void TestLaneViews::holdRepeats_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("bids");
    QTest::newRow("700 ms: every repeat bids") << 700 << 3 << 4;
    QTest::newRow("300 ms: every other repeat") << 300 << 4 << 3;
    QTest::newRow("500 ms: the window's edge") << 500 << 2 << 3;
}

void TestLaneViews::holdRepeats() {
    QFETCH(int, interval);
    QFETCH(int, ticks);
    QFETCH(int, bids);
    StandInHost host;
    host.record = Lot(105);
    auto view = MakeView(host, "two");
    OpenBidding(*view);
    view->SetAutoBidInterval(interval);
    m_session.clock.advance(1000); // clear of the last test's window
    TQEV2016ResButton& bid = *view->BidButton();
    bid.Press(bid.rect().center());
    for (int i = 0; i < ticks; ++i) {
        m_session.clock.advance(interval);
        bid.RepeatTimerTick();
    }
    bid.ReleaseAt(bid.rect().center());
    QCOMPARE(host.Pushes(), bids);
}

void TestLaneViews::noReserveSkip_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("noReserve");
    QTest::addColumn<bool>("sends");
    QTest::newRow("style 1, no reserve") << 1 << true << true;
    QTest::newRow("style 2, no reserve") << 2 << true << false;
    QTest::newRow("style 3, no reserve") << 3 << true << false;
    QTest::newRow("style 3, reserve") << 3 << false << true;
}

void TestLaneViews::noReserveSkip() {
    QFETCH(int, style);
    QFETCH(bool, noReserve);
    QFETCH(bool, sends);
    StandInHost host;
    host.record = Lot(105);
    host.noReserve = noReserve;
    auto view = MakeView(host, "one");
    OpenBidding(*view);
    view->SetPriceStyle(style);
    m_session.clock.advance(1000);
    view->BidClick();
    QCOMPARE(host.Pushes(), sends ? 1 : 0);
    // A skipped click still starts the window.
    QCOMPARE(view->LastBidClickMs(), m_session.clock.nowMs());
    QCOMPARE(view->PriceStyle(), quint8(sends ? 2 : style));
}

void TestLaneViews::bidSentStyleTimer() {
    StandInHost host;
    host.record = Lot(105);
    auto view = MakeView(host, "one");
    OpenBidding(*view);
    view->SetPrice(1000); // the mark shows only with a price
    m_session.clock.advance(1000);
    view->BidClick();
    QCOMPARE(view->PriceStyle(), quint8(2));
    QVERIFY(!view->PricePanel().Mark());
    view->SetPriceStyle(3); // a price message: this member leads
    view->TimeBDTimer();
    QCOMPARE(view->PriceStyle(), quint8(3));
    QVERIFY(view->PricePanel().Mark());
    QVERIFY(!view->TimeBD().isActive());

    m_session.clock.advance(1000);
    view->BidClick();
    view->TimeBDTimer(); // no price came: back to normal
    QCOMPARE(view->PriceStyle(), quint8(1));
}

void TestLaneViews::wonReport() {
    for (const QByteArray kind : {"one", "two"}) {
        StandInHost host;
        auto view = MakeView(host, kind);
        QList<QList<int>> requests;
        view->OnConfirmationRequest = [&requests](TTrrFrame&, int lane, int site, int exhibit, int price) {
            requests.append({lane, site, exhibit, price});
        };
        QList<QList<int>> confirms;
        view->OnConfirm = [&confirms](TTrrFrame&, int lane, int site, int exhibit, int price) {
            confirms.append({lane, site, exhibit, price});
        };
        view->ShowMessage(mtSold, {QStringLiteral("0045"), QStringLiteral("123.4")});
        view->ShowMessage(mtSold, {QStringLiteral("9999"), QStringLiteral("999.9")});
        const QList<int> ids{0, 12, 105, 1000};
        QCOMPARE(requests, (QList<QList<int>>{ids, ids}));
        QCOMPARE(host.kind, mtSold);
        QVERIFY(view->PnlReport().isVisibleTo(view.get()));
        QCOMPARE(view->PnlNotifyRakusatsuExhibitNo().Text(), QStringLiteral("0045"));
        QCOMPARE(view->PnlNotifyRakusatsuPrice().Text(), QStringLiteral("123.4"));
        // Centred on the view's background.
        QCOMPARE(view->PnlReport().pos(), QPoint((view->width() - 391) / 2, (view->height() - 345) / 2));
        QVERIFY(!view->BidButton()->isEnabled());
        view->ReportOkClick();
        QCOMPARE(confirms, QList<QList<int>>{ids});
        QVERIFY(view->PnlReport().isVisibleTo(view.get())); // until the window closes it
    }
}

void TestLaneViews::closeReport_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<int>("exhibit");
    QTest::addColumn<bool>("closes");
    for (const QByteArray kind : {"one", "two"}) {
        QTest::addRow("%s matching", kind.constData()) << kind << 105 << true;
        QTest::addRow("%s other lot", kind.constData()) << kind << 106 << false;
    }
}

void TestLaneViews::closeReport() {
    QFETCH(QByteArray, kind);
    QFETCH(int, exhibit);
    QFETCH(bool, closes);
    StandInHost host;
    host.record = Lot(105);
    auto view = MakeView(host, kind);
    OpenBidding(*view);
    view->ShowMessage(mtSold, {QStringLiteral("0105"), QStringLiteral("100.0")});
    QVERIFY(view->ReportOpen());
    view->CloseReport(1, 12, exhibit, 1000); // the lane is not compared
    QCOMPARE(view->PnlReport().isVisibleTo(view.get()), !closes);
    QVERIFY(!view->ReportOpen());
    QCOMPARE(host.kind, closes ? mtNone : mtSold);
    // Still refused while the window counts the report as shown.
    QCOMPARE(view->BidButton()->isEnabled(), closes);
}

void TestLaneViews::laneOver_data() {
    QTest::addColumn<int>("stateAtTimer");
    QTest::addColumn<int>("after");
    QTest::newRow("still held") << -2 << -1;
    QTest::newRow("running again") << 0 << 0;
}

void TestLaneViews::laneOver() {
    QFETCH(int, stateAtTimer);
    QFETCH(int, after);
    StandInHost host;
    auto view = MakeView(host, "two");
    TProcsDm& dm = *m_session.dm;
    dm.SetLaneState(0, -2);
    view->ShowMessage(mtOver, {});
    QVERIFY(view->TimeMessageBox().isActive());
    QCOMPARE(view->TimeMessageBox().interval(), 10000);
    dm.SetLaneState(0, stateAtTimer);
    view->TimeMessageBoxTimer();
    QCOMPARE(dm.LaneState(0), after);
    QVERIFY(!view->TimeMessageBox().isActive());
    dm.SetLaneState(0, 0);
}

void TestLaneViews::laneNotice_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("line");
    QTest::newRow("waiting") << int(mtWait) << QStringLiteral("11時00分より開催いたします");
    QTest::newRow("fetching") << int(mtFetching) << QStringLiteral("出品情報を取得しています");
    QTest::newRow("over") << int(mtOver) << QStringLiteral("このレーンのオークションは終了しました");
    QTest::newRow("none") << int(mtNone) << QString();
}

void TestLaneViews::laneNotice() {
    QFETCH(int, kind);
    QFETCH(QString, line);
    for (const QByteArray k : {"one", "two"}) {
        StandInHost host;
        auto view = MakeView(host, k);
        view->ShowMessage(TMessageType(kind), {QStringLiteral("11時00分より開催いたします")});
        QCOMPARE(view->PnlLaneNotice().isVisibleTo(view.get()), !line.isEmpty());
        if (!line.isEmpty())
            QCOMPARE(view->PnlLaneNotice().Text(), line);
        view->ShowMessage(mtNone, {});
        QVERIFY(!view->PnlLaneNotice().isVisibleTo(view.get()));
    }
}

void TestLaneViews::thisLaneAlarm_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("badge");
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("alarms");
    for (const QByteArray kind : {"one", "two"}) {
        const char* k = kind.constData();
        QTest::addRow("%s 10: five ahead", k)
            << kind << 10 << false << QStringLiteral("あと2台で 12 car 12") << 1;
        QTest::addRow("%s 11", k) << kind << 11 << false << QStringLiteral("あと1台で 12 car 12") << 0;
        QTest::addRow("%s 12 watched", k) << kind << 12 << true << QStringLiteral("あと3台で 15 car 15") << 0;
        QTest::addRow("%s 15 last watched", k) << kind << 15 << true << QString() << 0;
        QTest::addRow("%s not listed", k) << kind << 99 << false << QString() << 0;
    }
}

void TestLaneViews::thisLaneAlarm() {
    QFETCH(QByteArray, kind);
    QFETCH(int, current);
    QFETCH(bool, badge);
    QFETCH(QString, row);
    QFETCH(int, alarms);
    StandInHost host;
    auto view = MakeView(host, kind);
    view->UpdateAlarmList(0, ExampleList());
    view->UpdateAlarmList(1, Alarms({{current, true}})); // another lane's list changes nothing here
    view->ShowCurrentLot(Lot(current), true, false);
    QCOMPARE(view->AlarmBadgeOn(), badge);
    QCOMPARE(view->PnlAlarmThisLane().Text(), row);
    QCOMPARE(host.Alarms(), alarms);

    // The record arriving after the lot was entered leaves the row as it was.
    view->UpdateAlarmList(0, {});
    view->ShowCurrentLot(Lot(current), false, false);
    QCOMPARE(view->PnlAlarmThisLane().Text(), row);
    QCOMPARE(view->AlarmBadgeOn(), badge);
}

void TestLaneViews::otherLaneRows_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("row");
    QTest::newRow("first entry, watched") << 20 << QStringLiteral("現在 20 car 20");
    QTest::newRow("watched, not first") << 22 << QStringLiteral("あと2台で 24 car 24");
    QTest::newRow("counts to the next watched") << 21 << QStringLiteral("あと1台で 22 car 22");
    QTest::newRow("nothing watched after") << 24 << QString();
    QTest::newRow("not listed") << 30 << QString();
}

void TestLaneViews::otherLaneRows() {
    QFETCH(int, current);
    QFETCH(QString, row);
    StandInHost host;
    auto owned = MakeView(host, "one");
    auto& view = static_cast<TWin1Of2&>(*owned);
    view.UpdateAlarmList(1, Alarms({{20, true}, {21, false}, {22, true}, {23, false}, {24, true}}));
    const TLotRecord other = Lot(current);
    view.ShowOtherLaneLot(1, &other);
    QCOMPARE(view.PnlAlarmOtherLane().Text(), row);
    QCOMPARE(view.LblOtherLaneExhibitNo().Text(), QString::number(current));
    QCOMPARE(view.LblOtherLaneCarName().Text(), QStringLiteral("2015年 プリウス"));
    QCOMPARE(host.Alarms(), 0);
}

void TestLaneViews::cardArea_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<bool>("correction");
    QTest::addColumn<QRect>("square");
    QTest::newRow("one lane") << QByteArray("one") << false << QRect(2, 2, 508, 508);
    QTest::newRow("one lane, correction") << QByteArray("one") << true << QRect(16, 2, 480, 480);
    QTest::newRow("two lanes") << QByteArray("two") << false << QRect(43, 2, 389, 389);
    QTest::newRow("two lanes, correction") << QByteArray("two") << true << QRect(57, 2, 361, 361);
}

void TestLaneViews::cardArea() {
    QFETCH(QByteArray, kind);
    QFETCH(bool, correction);
    QFETCH(QRect, square);
    StandInHost host;
    auto view = MakeView(host, kind);
    TCardArea& area = *view->CardArea();
    QImage card(300, 200, QImage::Format_RGB32);
    card.fill(Qt::blue);
    area.SetCardPicture(&card);
    if (correction)
        view->ShowCorrection(RecordFromText(QStringLiteral("REAL_TEISEI=　走行距離　不明　\n")));
    const QImage& shown = area.Picture().Picture();
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    const QColor white(255, 255, 255);
    const QColor grey(0x88, 0x88, 0x88);
    const int in = correction ? 3 : 0; // inside the red outline
    QCOMPARE(shown.pixelColor(square.x() + in, square.y() + in), blue);
    QCOMPARE(shown.pixelColor(square.right() - in, square.bottom() - in), blue);
    QCOMPARE(shown.pixelColor(square.x() - 1, square.center().y()), white);
    QCOMPARE(shown.pixelColor(square.right() + 1, square.center().y()), white);
    QCOMPARE(shown.pixelColor(0, 0), grey);
    QCOMPARE(shown.pixelColor(shown.width() - 1, square.bottom() + 2), grey); // the usable height's last row
    if (correction) {
        QCOMPARE(shown.pixelColor(square.topLeft()), red);
        QCOMPARE(shown.pixelColor(square.x() + 2, square.center().y()), red);
        QCOMPARE(shown.pixelColor(square.bottomRight()), red);
        QCOMPARE(area.Band().Text(), QStringLiteral("走行距離  不明"));
    }
    QCOMPARE(area.Band().isVisibleTo(view.get()), correction);
    const QRect a = view->Layout().cardArea;
    QCOMPARE(area.Band().geometry(), QRect(a.x(), a.bottom() + 1 - 29, a.width(), 29));

    // Clearing the photo empties the area again: no card, no band.
    view->ClearPhoto();
    QCOMPARE(area.Picture().Picture().pixelColor(square.center()), white);
    QVERIFY(!area.Band().isVisibleTo(view.get()));
}

void TestLaneViews::lotStateStrip_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("strip");
    for (const QByteArray kind : {"one", "two"}) {
        const char* k = kind.constData();
        QTest::addRow("%s 2 start", k) << kind << 1 << 2 << 1;
        QTest::addRow("%s 3 start", k) << kind << 1 << 3 << 1;
        QTest::addRow("%s 7 no reserve", k) << kind << 2 << 7 << 2;
        QTest::addRow("%s 8 sold", k) << kind << 2 << 8 << 3;
        QTest::addRow("%s 9 won", k) << kind << 2 << 9 << 3;
        QTest::addRow("%s 10 unsold", k) << kind << 2 << 10 << 4;
        QTest::addRow("%s 5 keeps start", k) << kind << 2 << 5 << 1;
        QTest::addRow("%s 6 keeps no reserve", k) << kind << 7 << 6 << 2;
        QTest::addRow("%s 11 blank", k) << kind << 2 << 11 << 0;
        QTest::addRow("%s 4 blank", k) << kind << 2 << 4 << 0;
    }
}

void TestLaneViews::lotStateStrip() {
    QFETCH(QByteArray, kind);
    QFETCH(int, before);
    QFETCH(int, state);
    QFETCH(int, strip);
    StandInHost host;
    auto view = MakeView(host, kind);
    view->SetLotState(before);
    view->SetLotState(state);
    QCOMPARE(int(view->LotState()), state);
    QCOMPARE(view->PnlMessage().SourceY(), strip * (kind == "one" ? 36 : 33));
}

void TestLaneViews::placement_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<int>("lane");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("baseX");
    QTest::addColumn<QSize>("bid");
    QTest::newRow("one lane A") << QByteArray("one") << 0 << QRect(17, 8, 990, 670) << 0 << QSize(139, 103);
    QTest::newRow("one lane B") << QByteArray("one") << 1 << QRect(17, 8, 990, 670) << 990 << QSize(139, 103);
    QTest::newRow("two lanes A") << QByteArray("two") << 0 << QRect(17, 8, 490, 670) << 0 << QSize(97, 86);
    QTest::newRow("two lanes B") << QByteArray("two") << 1 << QRect(521, 8, 490, 670) << 490 << QSize(97, 86);
}

void TestLaneViews::placement() {
    QFETCH(QByteArray, kind);
    QFETCH(int, lane);
    QFETCH(QRect, geometry);
    QFETCH(int, baseX);
    QFETCH(QSize, bid);
    StandInHost host;
    auto view = MakeView(host, kind, lane);
    QCOMPARE(view->geometry(), geometry);
    QCOMPARE(view->WinBase().SourceX(), baseX);
    QCOMPARE(view->BidButton()->size(), bid);
    QCOMPARE(view->BidButton()->ButtonCols(), 1);
    QCOMPARE(view->ReportOk().size(), QSize(250, 60));
    QCOMPARE(view->PricePanel().size(), kind == "one" ? QSize(291, 66) : QSize(215, 52));
    if (kind == "one") {
        auto& one = static_cast<TWin1Of2&>(*view);
        QVERIFY(one.BtnToOtherLane().Bitmap() == (lane == 0 ? m_images.toLaneB : m_images.toLaneA));
        QCOMPARE(one.BtnToOtherLane().size(), QSize(175, 33));
        int shown = -1;
        one.OnToOtherLane = [&shown](TTrrFrame&, int l) { shown = l; };
        one.BtnToOtherLaneClick();
        QCOMPARE(shown, 1 - lane);
        QCOMPARE(host.clicks, 1);
    }
}

void TestLaneViews::currentLotAndPhoto() {
    for (const QByteArray kind : {"one", "two"}) {
        StandInHost host;
        auto view = MakeView(host, kind);
        view->ShowCurrentLot(
            Lot(7, QStringLiteral("REAL_GAISO=B\nREAL_NAISO=C\nREAL_HYOKA=4.5\nREAL_CAR_NAME= アクア \n")),
            true, false);
        QCOMPARE(view->LblItemExhibitNo().Text(), QStringLiteral("0007"));
        QCOMPARE(view->CarInfo().Text(), QStringLiteral("2015年 プリウス"));
        QCOMPARE(view->PnlRatingGaiso().Text(), QStringLiteral("B"));
        QCOMPARE(view->PnlRatingNaiso().Text(), QStringLiteral("C"));
        QCOMPARE(view->PnlRatingSogo().Text(), QStringLiteral("4.5"));
        QCOMPARE(view->PricePanel().Value(), 500);
        const TLotRecord next = Lot(8);
        view->ShowNextLot(0, &next, false, false);
        QCOMPARE(view->NextExhibit(), 8);
        QCOMPARE(view->LblNextShamei().Text(), QStringLiteral("2015年 プリウス"));

        // Pictures of the view's own lot only.
        TImageHolder slot;
        slot.Main().fill(Qt::green);
        slot.Thumbnail().fill(Qt::green);
        slot.SetKey(12, 106, 0);
        view->ShowPhoto(0, slot);
        QCOMPARE(view->ImgCurrCar().Picture().pixelColor(5, 5), QColor::fromRgb(TPictureBox::kClearColour));
        slot.SetKey(12, 105, 0);
        view->ShowPhoto(0, slot);
        QCOMPARE(view->ImgCurrCar().Picture().pixelColor(5, 5), QColor(Qt::green));

        view->ClearCurrentLot();
        QCOMPARE(view->LblItemExhibitNo().Text(), QString());
        QCOMPARE(view->PricePanel().Value(), -1);
        QCOMPARE(view->PriceStyle(), quint8(1));
        QCOMPARE(view->LotState(), quint8(1));
    }
}

void TestLaneViews::placeholderDoesNothing() {
    StandInHost host;
    TDumWin dummy(host);
    dummy.Attach(&m_panel, m_session.dm.get());
    dummy.setParent(nullptr);
    dummy.ShowMessage(mtSold, {QStringLiteral("0001")});
    dummy.SetPrice(1000);
    dummy.BidClick();
    QCOMPARE(host.kind, mtNone);
    QCOMPARE(dummy.Price(), -1);
    QCOMPARE(host.Pushes(), 0);
    QVERIFY(dummy.isHidden());
}

QTEST_MAIN(TestLaneViews)
#include "tst_laneviews.moc"
