#include "common/clock.h"
#include "skin/fontsetup.h"
#include "skin/qev2016header.h"
#include "skin/qev2016jpanel.h"
#include "skin/qev2016jresbutton.h"
#include "skin/qev2016orgresbutton.h"

#include <QtTest>
#include <memory>

using namespace qev;

namespace {

void ClickOn(TResButton* b) {
    const QPoint centre(b->width() / 2, b->height() / 2);
    b->Press(centre);
    b->ReleaseAt(centre);
}

// A header on a parent, with its bid-mode and volume buttons enabled and every event recorded.
struct Bar {
    ManualClock clock{5'000'000};
    ScopedClock scoped{clock};
    QWidget window;
    TQEV2016Header* header = new TQEV2016Header(&window);
    QList<bool> bidModes;
    QList<int> volumes;
    QStringList clicks;

    Bar() {
        header->SetBidModeEnabled(true);
        header->SetVolumeEnabled(true);
        header->SetAlarmSettingEnabled(true);
        header->SetAuctionEnabled(true);
        header->OnBidModeChange = [this](TQEV2016Header* s, bool on) {
            QCOMPARE(s, header);
            bidModes << on;
        };
        header->OnVolumeChange = [this](TQEV2016Header*, int v) { volumes << v; };
        header->OnAlarmSettingClick = [this](TQEV2016Header*) { clicks << QStringLiteral("alarm"); };
        header->OnAuctionClick = [this](TQEV2016Header*) { clicks << QStringLiteral("auction"); };
        header->OnExitClick = [this](TQEV2016Header*) { clicks << QStringLiteral("exit"); };
    }
};

} // namespace

class TstHeader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutions(); }
    void userBoxFitsSixCharacters_data();
    void userBoxFitsSixCharacters();

    void childrenAndStrips_data();
    void childrenAndStrips();
    void flagsBeforeParentApplyAtCreation();
    void bidModeClicks();
    void oneSecondGuardReportsUnchangedMode();
    void litButtonFiresNothing();
    void volumeWrapsAndReports();
    void volumeDisplayIsSilent_data();
    void volumeDisplayIsSilent();
    void userCaptionKeepsSix();
    void countdown_data();
    void countdown();
    void otherButtonsFireTheirEvents();
};

void TstHeader::childrenAndStrips_data() {
    QTest::addColumn<QString>("child");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<int>("cols");

    QTest::newRow("off") << QStringLiteral("off") << QRect(251, 3, 102, 35) << 2;
    QTest::newRow("on") << QStringLiteral("on") << QRect(351, 3, 102, 35) << 2;
    QTest::newRow("volume") << QStringLiteral("volume") << QRect(720, 3, 41, 35) << 4;
    QTest::newRow("auction") << QStringLiteral("auction") << QRect(767, 3, 154, 35) << 1;
    QTest::newRow("alarm") << QStringLiteral("alarm") << QRect(767, 3, 154, 35) << 1;
    QTest::newRow("exit") << QStringLiteral("exit") << QRect(928, 3, 82, 35) << 1;
}

void TstHeader::childrenAndStrips() {
    QFETCH(QString, child);
    QFETCH(QRect, place);
    QFETCH(int, cols);
    Bar bar;
    TQEV2016Header* h = bar.header;
    QCOMPARE(h->size(), QSize(1024, 41));
    const QHash<QString, TResButton*> buttons = {
        {QStringLiteral("off"), h->BidOffButton()},         {QStringLiteral("on"), h->BidOnButton()},
        {QStringLiteral("volume"), h->VolumeButton()},      {QStringLiteral("auction"), h->AuctionButton()},
        {QStringLiteral("alarm"), h->AlarmSettingButton()}, {QStringLiteral("exit"), h->ExitButton()}};
    TResButton* b = buttons.value(child);
    QVERIFY(b);
    QCOMPARE(b->geometry(), place);
    QCOMPARE(b->ButtonCols(), cols);
    QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(h->UserBox()->geometry(), QRect(163, 11, 86, 20));
    QCOMPARE(h->CountdownText()->geometry(), QRect(466, 13, 245, 16));
}

void TstHeader::userBoxFitsSixCharacters_data() {
    QTest::addColumn<QString>("id");
    QTest::newRow("digits") << QStringLiteral("888888");
    QTest::newRow("letter and digits") << QStringLiteral("D12345");
    QTest::newRow("letters") << QStringLiteral("ABCDEF");
}

// The member ID must be read whole: six characters in the header's font fit the box.
void TstHeader::userBoxFitsSixCharacters() {
    QFETCH(QString, id);
    QWidget window;
    auto* h = new TQEV2016Header(&window);
    h->SetUserCaption(id);
    const QFontMetrics metrics(h->UserBox()->font());
    QVERIFY(metrics.horizontalAdvance(id) <= h->UserBox()->width());
}

void TstHeader::flagsBeforeParentApplyAtCreation() {
    QWidget window;
    auto owned = std::make_unique<TQEV2016Header>();
    TQEV2016Header* h = owned.get();
    QVERIFY(!h->HasChildren());
    h->SetUserCaption(QStringLiteral("D12345"));
    h->SetBidModeEnabled(true);
    h->SetAuctionVisible(true);
    h->SetAlarmSettingVisible(false);
    h->SetVolumeDisplay(2);
    h->SetBidOffCountdown(4);
    h->setParent(&window);
    owned.release(); // the window owns it now
    QVERIFY(h->HasChildren());
    QVERIFY(h->BidOnButton()->isEnabled());
    QVERIFY(!h->VolumeButton()->isEnabled());
    QVERIFY(!h->AuctionButton()->isHidden());
    QVERIFY(h->AlarmSettingButton()->isHidden());
    QVERIFY(!h->ExitButton()->isHidden() && h->ExitButton()->isEnabled());
    QCOMPARE(h->VolumeButton()->Value(), 2);
    QCOMPARE(h->UserBox()->Text(), QStringLiteral("D12345"));
    QVERIFY(!h->CountdownText()->isHidden());
    QVERIFY(h->BidOffButton()->Checked());
    QVERIFY(!h->BidOnButton()->Checked());
}

void TstHeader::bidModeClicks() {
    Bar bar;
    ClickOn(bar.header->BidOnButton());
    QCOMPARE(bar.bidModes, QList<bool>{true});
    QVERIFY(bar.header->BidOnButton()->Checked());
    QVERIFY(!bar.header->BidOffButton()->Checked());
    QCOMPARE(bar.header->BidOnButton()->Row(), 1);
    bar.clock.advance(1000);
    ClickOn(bar.header->BidOffButton());
    QCOMPARE(bar.bidModes, (QList<bool>{true, false}));
    QVERIFY(!bar.header->BidMode());
}

void TstHeader::oneSecondGuardReportsUnchangedMode() {
    Bar bar;
    ClickOn(bar.header->BidOnButton());
    bar.clock.advance(999);
    ClickOn(bar.header->BidOffButton());
    QCOMPARE(bar.bidModes, (QList<bool>{true, true}));
    QVERIFY(bar.header->BidMode());
    QVERIFY(bar.header->BidOnButton()->Checked());
    QVERIFY(!bar.header->BidOffButton()->Checked());
    // The guard counts from the last accepted change, not from the refused one.
    bar.clock.advance(1);
    ClickOn(bar.header->BidOffButton());
    QCOMPARE(bar.bidModes.last(), false);
}

void TstHeader::litButtonFiresNothing() {
    Bar bar;
    ClickOn(bar.header->BidOffButton()); // bid mode starts off: the off button is lit
    QVERIFY(bar.bidModes.isEmpty());
}

void TstHeader::volumeWrapsAndReports() {
    Bar bar;
    bar.header->SetVolumeDisplay(3);
    ClickOn(bar.header->VolumeButton());
    ClickOn(bar.header->VolumeButton());
    QCOMPARE(bar.volumes, (QList<int>{0, 1}));
    QCOMPARE(bar.header->VolumeButton()->Value(), 1);
}

void TstHeader::volumeDisplayIsSilent_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("shown");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("3") << 3 << 3;
    QTest::newRow("4 is refused") << 4 << 2;
    QTest::newRow("-1 is refused") << -1 << 2;
}

void TstHeader::volumeDisplayIsSilent() {
    QFETCH(int, level);
    QFETCH(int, shown);
    Bar bar;
    bar.header->SetVolumeDisplay(2);
    bar.header->SetVolumeDisplay(level);
    QCOMPARE(bar.header->VolumeButton()->Value(), shown);
    QVERIFY(bar.volumes.isEmpty());
}

void TstHeader::userCaptionKeepsSix() {
    Bar bar;
    bar.header->SetUserCaption(QStringLiteral("ABCDEFGH"));
    QCOMPARE(bar.header->UserBox()->Text(), QStringLiteral("ABCDEF"));
}

void TstHeader::countdown_data() {
    QTest::addColumn<int>("lots");
    QTest::addColumn<bool>("shown");
    QTest::newRow("3") << 3 << true;
    QTest::newRow("0") << 0 << false;
    QTest::newRow("-2") << -2 << false;
}

void TstHeader::countdown() {
    QFETCH(int, lots);
    QFETCH(bool, shown);
    Bar bar;
    bar.header->SetBidOffCountdown(lots);
    QCOMPARE(bar.header->CountdownText()->Text(), QStringLiteral("あと%1台で応札offになります").arg(lots));
    QCOMPARE(!bar.header->CountdownText()->isHidden(), shown);
}

void TstHeader::otherButtonsFireTheirEvents() {
    Bar bar;
    bar.header->SetAuctionVisible(true);
    ClickOn(bar.header->AlarmSettingButton());
    ClickOn(bar.header->AuctionButton());
    ClickOn(bar.header->ExitButton());
    QCOMPARE(bar.clicks,
             (QStringList{QStringLiteral("alarm"), QStringLiteral("auction"), QStringLiteral("exit")}));
    // A disabled button reports nothing.
    bar.header->SetAlarmSettingEnabled(false);
    ClickOn(bar.header->AlarmSettingButton());
    QCOMPARE(bar.clicks.size(), 3);
}

QTEST_MAIN(TstHeader)
#include "tst_header.moc"
