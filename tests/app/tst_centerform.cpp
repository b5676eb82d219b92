// The window end to end, offscreen, against the local auction house in this process: the launch,
// the login and its outcomes, both lane modes, lots reaching the views of the right lane, the
// won-bid report, a dropped lane and closing.
#include "app/centerform.h"
#include "app/loginpanel.h"
#include "app/web/fakewebpane.h"
#include "common/clock.h"
#include "common/imageholder.h"
#include "common/pumpwait.h"
#include "common/settingsstore.h"
#include "dialogwatcher.h"
#include "lanes/views/cardarea.h"
#include "lanes/views/picturebox.h"
#include "lanes/views/tlaneview.h"
#include "lanes/widgets/qev2016pricepanel.h"
#include "skin/fontsetup.h"
#include "skin/qev2016header.h"
#include "skin/qev2016jpanel.h"
#include "skin/qev2016orgresbutton.h"
#include "skin/qev2016resbutton.h"
#include "skin/resbutton.h"
#include "tools/auction-house/announcedlanes.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/catalogue/carcatalogue.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/bidrecorder.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/web/auctionwebserver.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace qev;

namespace {

constexpr int kWaitMs = 20000; // a bound on real time, never an assertion about speed

HouseConfig BaseConfig() {
    HouseConfig c = HouseConfig::Default();
    c.signInPort = 0;
    c.dataPort = 0;
    c.webPort = 0;
    c.audioPort = 0;
    c.audioServer = false;
    return c;
}

// The whole house at test pace: live lanes, lot files and photos on its web server.
HouseConfig LiveHouse() {
    HouseConfig c = BaseConfig();
    c.liveLanes = true;
    c.webServer = true;
    c.fastPace = true;
    return c;
}

// The house's sign-in and data servers announcing scripted lanes that send only what a test
// delivers; with the web server for lot files and pictures when asked.
HouseConfig ScriptedHouse(AuctionLanes& lanes, bool web) {
    HouseConfig c = BaseConfig();
    c.webServer = web;
    AnnounceLanes(c, lanes);
    return c;
}

class Fixture {
public:
    QTemporaryDir dir;
    std::unique_ptr<AuctionHouse> house;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<TCenterForm> window;
    DialogWatcher dialogs;

    bool Start(HouseConfig config, bool systemLog = false) {
        house = std::make_unique<AuctionHouse>(std::move(config));
        QString error;
        if (!house->Start(&error))
            return false;
        const QString ini = dir.filePath(QStringLiteral("qevreal.ini"));
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("Uri/Login"), QString::fromLatin1(house->SignInAddress()));
            const quint16 web = house->Web() ? house->Web()->Port() : 9;
            s.setValue(QStringLiteral("Uri/Web"), QStringLiteral("http://127.0.0.1:%1").arg(web));
        }
        settings = std::make_unique<SettingsStore>(
            SettingsStore::Paths{ini, dir.filePath(QStringLiteral("user/QEV2016/QEV2016.ini"))});
        if (systemLog)
            settings->user().setValue(QStringLiteral("Tweaks/SystemLog"), true);
        TCenterForm::Services services;
        services.settings = settings.get();
        services.makeWebPane = [](QWidget* parent) -> std::unique_ptr<WebPane> {
            return std::make_unique<FakeWebPane>(parent, FakeWebPane::Completion::Queued);
        };
        services.screen = QSize(1280, 1024);
        services.logPath = LogPath();
        services.cacheFolder = dir.filePath(QStringLiteral("cache/"));
        window = std::make_unique<TCenterForm>(std::move(services));
        window->show();
        return PumpWait([this] { return window->Screen() == TCenterForm::scLogin; }, kWaitMs);
    }
    QString LogPath() const { return dir.filePath(QStringLiteral("qevreal.log")); }

    void Type(const QString& id, const QString& password) {
        window->LoginPanel().EdtLoginID().setText(id);
        window->LoginPanel().EdtLoginPassword().setText(password);
    }
    bool LogIn(int tag, const QString& id = QStringLiteral("1001"),
               const QString& password = QStringLiteral("demo")) {
        Type(id, password);
        window->Login(tag);
        return window->Screen() == TCenterForm::scAuction;
    }
    TLaneView& View(int lane, bool oneLane) {
        return static_cast<TLaneView&>(oneLane ? window->OneLaneViewOf(lane) : window->TwoLaneViewOf(lane));
    }
    void Save(const QString& name) {
        window->grab().save(QStringLiteral("%1/%2.png").arg(QLatin1String(QT_TESTCASE_BUILDDIR), name));
    }
};

QString Shown(const char* text) {
    return QString::fromUtf8(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

class TestCenterForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallFontSubstitutions(); }
    void launchShowsTheLoginScreen();
    void refusals_data();
    void refusals();
    void threeWrongPasswordsEndTheProgram();
    void lanesReachBothModes_data();
    void lanesReachBothModes();
    void wonBidShowsTheReport();
    void biddingOnBidAndBackToWatching();
    void droppedLaneReturnsToLogin();
    void endedSessionEndsTheProgram();
    void closingAsksAndLogsInOrder();
};

void TestCenterForm::launchShowsTheLoginScreen() {
    Fixture f;
    QVERIFY(f.Start(BaseConfig()));
    auto& notice = static_cast<FakeWebPane&>(f.window->LoginBrowser());
    QCOMPARE(notice.Navigations().size(), 1);
    QVERIFY(notice.Navigations().first().url.toString().endsWith(QStringLiteral("/qevreal/loginMSG.html")));
    QCOMPARE(notice.Navigations().first().flags, kNavigateFresh);
    QVERIFY(!f.window->LoginPanel().CoverShown());
    QVERIFY(f.window->LoginPanel().isVisible());
    // Both lane buttons wait for both fields.
    TLoginPanel& login = f.window->LoginPanel();
    QVERIFY(!login.BtnLogin4OneLaneMode().isEnabled());
    login.EdtLoginID().setText(QStringLiteral("1001"));
    QVERIFY(!login.BtnLogin4TwoLaneMode().isEnabled());
    login.EdtLoginPassword().setText(QStringLiteral("d"));
    QVERIFY(login.BtnLogin4TwoLaneMode().isEnabled());
    // Enter and a space do nothing in the fields.
    QTest::keyClick(&login.EdtLoginPassword(), Qt::Key_Space);
    QTest::keyClick(&login.EdtLoginPassword(), Qt::Key_Return);
    QCOMPARE(login.EdtLoginPassword().text(), QStringLiteral("d"));
    QCOMPARE(f.window->Screen(), TCenterForm::scLogin);
    f.Save(QStringLiteral("login"));
}

void TestCenterForm::refusals_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("closes");
    QTest::newRow("101") << QStringLiteral("1101") << Shown("ID/パスワードが間違っています") << false;
    QTest::newRow("102") << QStringLiteral("1102") << Shown("現在リアルオークションは御利用いただけません")
                         << true;
    QTest::newRow("103") << QStringLiteral("1103") << Shown("オークション開始までお待ちください") << false;
    QTest::newRow("103 with a text") << QStringLiteral("1113") << QString() << false;
    QTest::newRow("107") << QStringLiteral("1107") << Shown("ID/パスワードが間違っています") << false;
    QTest::newRow("111") << QStringLiteral("1111")
                         << Shown("利用制限がかかっております\rQEVまでお問い合わせください") << false;
    QTest::newRow("112") << QStringLiteral("1112") << Shown("退会手続き済みです") << true;
    QTest::newRow("199") << QStringLiteral("1199") << Shown("現在ログインできません") << false;
}

void TestCenterForm::refusals() {
    QFETCH(QString, id);
    QFETCH(QString, text);
    QFETCH(bool, closes);
    Fixture f;
    QVERIFY(f.Start(BaseConfig()));
    QVERIFY(!f.LogIn(TLoginPanel::kOneLaneTag, id));
    QCOMPARE(f.dialogs.texts, text.isEmpty() ? QStringList() : QStringList{text});
    QCOMPARE(f.window->Screen(), TCenterForm::scLogin);
    QCOMPARE(f.window->Session().State(), ssOffline);
    PumpFor(50);
    QCOMPARE(f.window->Closing(), closes);
    QCOMPARE(f.window->isVisible(), !closes);
    // The controls are back for the next try.
    QVERIFY(f.window->LoginPanel().EdtLoginID().isEnabled());
}

void TestCenterForm::threeWrongPasswordsEndTheProgram() {
    Fixture f;
    QVERIFY(f.Start(BaseConfig()));
    for (int i = 0; i < 2; ++i) {
        QVERIFY(!f.LogIn(TLoginPanel::kTwoLaneTag, QStringLiteral("1001"), QStringLiteral("wrong")));
        QCOMPARE(f.window->LoginPanel().EdtLoginPassword().text(), QString());
    }
    QCOMPARE(f.window->FailedLogins(), 2);
    PumpFor(50);
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.LogIn(TLoginPanel::kTwoLaneTag, QStringLiteral("1001"), QStringLiteral("wrong")));
    QCOMPARE(f.dialogs.texts.last(), Shown("ID/パスワードが間違っています\r終了します"));
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->isVisible(), kWaitMs);
    QVERIFY(!f.dialogs.texts.contains(Shown("終了しますか？")));
}

void TestCenterForm::lanesReachBothModes_data() {
    QTest::addColumn<int>("tag");
    QTest::newRow("one lane") << TLoginPanel::kOneLaneTag;
    QTest::newRow("two lanes") << TLoginPanel::kTwoLaneTag;
}

void TestCenterForm::lanesReachBothModes() {
    QFETCH(int, tag);
    const bool oneLane = tag == TLoginPanel::kOneLaneTag;
    Fixture f;
    QVERIFY(f.Start(LiveHouse()));
    QVERIFY(f.LogIn(tag));
    QVERIFY(f.dialogs.texts.isEmpty());
    QCOMPARE(f.window->LaneMode(), oneLane ? TCenterForm::lmOneLane : TCenterForm::lmTwoLane);
    QCOMPARE(f.window->Session().LaneStatus(0), icsConnectedNB);
    QVERIFY(f.window->LanePanel(0).isVisible() != oneLane);
    QCOMPARE(f.window->LanePanel(1).isVisible(), oneLane);
    auto& alarm = static_cast<FakeWebPane&>(f.window->AlarmBrowser());
    QVERIFY(alarm.Navigations().last().url.toString().endsWith(QStringLiteral("/qevweb/alarm/1001")));
    // Each lane's lot on the block reaches the kind in use, with its record, photo and price.
    for (int lane = 0; lane < 2; ++lane) {
        TLaneView& view = f.View(lane, oneLane);
        QTRY_VERIFY_WITH_TIMEOUT(f.window->IsLotShown(lane) && !view.CarInfo().Text().isEmpty(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(view.PricePanel().Value() > 0, kWaitMs);
        QCOMPARE(view.CurrentExhibit() / 10000, lane);
        QCOMPARE(view.ExhibitNo, f.window->Session().LaneExhibit(lane));
        QCOMPARE(&f.window->TwoLaneViewOf(lane) == &f.window->OneLaneViewOf(lane), false);
    }
    f.Save(oneLane ? QStringLiteral("auction_onelane") : QStringLiteral("auction_twolane"));
    // The kind not in use gets nothing.
    QVERIFY(static_cast<TLaneView&>(*f.window->findChild<TLaneView*>(oneLane ? QStringLiteral("Win1Of4_0")
                                                                             : QStringLiteral("Win1Of2_0")))
                .CarInfo()
                .Text()
                .isEmpty());
}

void TestCenterForm::wonBidShowsTheReport() {
    AuctionLanes lanes;
    QVERIFY(lanes.OpenScripted(Scenario{}, 2));
    const HouseConfig c = ScriptedHouse(lanes, true);
    Fixture f;
    QVERIFY(f.Start(c));
    QVERIFY(f.LogIn(TLoginPanel::kTwoLaneTag));
    LaneRouter& watch = lanes.Router(0, RouterKind::Watch);
    watch.Deliver("EN:12,45,46,47");
    QTRY_COMPARE_WITH_TIMEOUT(f.window->Session().LaneExhibit(0), 45, kWaitMs);
    // The lot's record, photo and card reach the two-lane view of lane A only.
    TLaneView& view = f.View(0, false);
    QTRY_COMPARE_WITH_TIMEOUT(view.LblItemExhibitNo().Text(), QStringLiteral("0045"), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(view.ImgCurrCar().Picture().pixel(40, 40) != TImageHolder::ClearColour, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(view.CardArea()->CardPresent(), kWaitMs);
    QCOMPARE(f.View(1, false).LblItemExhibitNo().Text(), QString());
    watch.Deliver("PR:12,45,1200,2,2,1001,,");
    // Sold (lot flag 1) to this member, who led (bidder flag 2).
    watch.Deliver("PR:12,45,1234,3,2,1001,1001,");
    QTRY_VERIFY_WITH_TIMEOUT(view.PnlReport().isVisible(), kWaitMs);
    QCOMPARE(view.PnlNotifyRakusatsuExhibitNo().Text(), QStringLiteral("0045"));
    QCOMPARE(view.PnlNotifyRakusatsuPrice().Text(), QStringLiteral("123.4"));
    QCOMPARE(int(view.LotState()), 9);
    QCOMPARE(f.window->PendingConfirmations(), 1);
    f.Save(QStringLiteral("auction_won"));
    // With the lane's channel gone the confirmation cannot go: it stays pending, the report open.
    const quint16 port = lanes.RouterAddress(0, RouterKind::Watch).split(':').value(1).toUShort();
    watch.Close();
    watch.DropAll();
    QTRY_COMPARE_WITH_TIMEOUT(f.window->Session().LaneStatus(0), icsCnctRouter, kWaitMs);
    view.ReportOk().Press({5, 5});
    view.ReportOk().ReleaseAt({5, 5});
    QCOMPARE(f.window->PendingConfirmations(), 1);
    QVERIFY(view.PnlReport().isVisible());
    QVERIFY(watch.Listen(QHostAddress::LocalHost, port));
    QTRY_COMPARE_WITH_TIMEOUT(f.window->Session().LaneStatus(0), icsConnectedNB, kWaitMs);
    // The lane is back: one "C" reaches the router and the report closes.
    view.ReportOk().Press({5, 5});
    view.ReportOk().ReleaseAt({5, 5});
    QTRY_VERIFY_WITH_TIMEOUT(!view.PnlReport().isVisible(), kWaitMs);
    QCOMPARE(f.window->PendingConfirmations(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(lanes.Recorder().Confirmations().size(), qsizetype(1), kWaitMs);
    QVERIFY(lanes.Recorder().Confirmations().first().payload.endsWith(",C"));
}

void TestCenterForm::biddingOnBidAndBackToWatching() {
    AuctionLanes lanes;
    QVERIFY(lanes.OpenScripted(Scenario{}, 2));
    const HouseConfig c = ScriptedHouse(lanes, true);
    Fixture f;
    QVERIFY(f.Start(c));
    QVERIFY(f.LogIn(TLoginPanel::kTwoLaneTag));
    TQEV2016Header& header = f.window->Header();
    const auto click = [](TResButton* b) {
        b->Press({b->width() / 2, b->height() / 2});
        b->ReleaseAt({b->width() / 2, b->height() / 2});
    };
    click(header.BidOnButton());
    QTRY_COMPARE_WITH_TIMEOUT(f.window->Session().CombinedLaneStatus(), icsConnectedBD, kWaitMs);
    QVERIFY(header.BidMode());
    // A lot the house has not closed to bidding here.
    const CarCatalogue cars(HouseConfig::Default().seed);
    int lot = 45;
    while (cars.Lot(lot).bidLocked)
        ++lot;
    const QByteArray e = QByteArray::number(lot);
    LaneRouter& bidding = lanes.Router(0, RouterKind::Bidding);
    bidding.Deliver("EN:12," + e + ",0,0");
    QTRY_VERIFY_WITH_TIMEOUT(f.window->IsLotShown(0), kWaitMs);
    bidding.Deliver("PR:12," + e + ",1200,2,2,2002,,");
    TLaneView& view = f.View(0, false);
    QTRY_VERIFY_WITH_TIMEOUT(view.BidButton()->isEnabled(), kWaitMs);
    view.BidClick();
    QTRY_COMPARE_WITH_TIMEOUT(lanes.Recorder().Bids().size(), qsizetype(1), kWaitMs);
    QVERIFY(lanes.Recorder().Bids().first().payload.startsWith(QByteArray("12," + e + ',')));
    // The alarm settings page leaves the dealer watching, and the header says so at once.
    header.OnAlarmSettingClick(&header);
    QCOMPARE(f.window->Screen(), TCenterForm::scAlarmSettings);
    QVERIFY(!header.BidMode());
    QTRY_COMPARE_WITH_TIMEOUT(f.window->Session().CombinedLaneStatus(), icsConnectedNB, kWaitMs);
    header.OnAuctionClick(&header);
    QCOMPARE(f.window->Screen(), TCenterForm::scAuction);
    QVERIFY(!header.BidMode());
    // Bid pressed while the lanes are still connecting: nothing happens, the header stays off.
    f.window->Session().ConnectLanes(rcBD);
    QVERIFY(f.window->Session().CombinedLaneStatus() != icsConnectedBD);
    click(header.BidOnButton());
    QVERIFY(!header.BidMode());
}

void TestCenterForm::droppedLaneReturnsToLogin() {
    AuctionLanes lanes;
    QVERIFY(lanes.OpenScripted(Scenario{}, 2));
    const HouseConfig c = ScriptedHouse(lanes, false);
    Fixture f;
    QVERIFY(f.Start(c));
    QVERIFY(f.LogIn(TLoginPanel::kOneLaneTag));
    ManualClock clock(Clock::current().nowMs());
    ScopedClock scoped(clock);
    lanes.Router(0, RouterKind::Watch).Close();
    lanes.Router(0, RouterKind::Watch).DropAll();
    QTRY_COMPARE_WITH_TIMEOUT(f.window->Session().LaneStatus(0), icsCnctRouter, kWaitMs);
    clock.advance(16000); // past the lane's 15 s to reconnect
    f.window->Session().TmConnectingTimer(0);
    // The lane that stays away is a notice: back to the login screen, without a message.
    QCOMPARE(f.window->Screen(), TCenterForm::scLogin);
    QTRY_COMPARE_WITH_TIMEOUT(f.window->Session().State(), ssOffline, kWaitMs);
    QVERIFY(f.dialogs.texts.isEmpty());
    QVERIFY(f.window->isVisible());
}

void TestCenterForm::endedSessionEndsTheProgram() {
    Fixture f;
    QVERIFY(f.Start(LiveHouse()));
    QVERIFY(f.LogIn(TLoginPanel::kTwoLaneTag));
    // The session ends under the auction screen: the lanes read disconnected.
    f.window->Session().CloseAll();
    QTRY_VERIFY_WITH_TIMEOUT(f.dialogs.texts.contains(Shown("切断されました\r終了します")), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->isVisible(), kWaitMs);
    QVERIFY(!f.dialogs.texts.contains(Shown("終了しますか？")));
}

void TestCenterForm::closingAsksAndLogsInOrder() {
    QString log;
    {
        Fixture f;
        QVERIFY(f.Start(BaseConfig(), true));
        f.dialogs.answerYes = false;
        f.window->RequestClose();
        QCOMPARE(f.dialogs.texts, QStringList{Shown("終了しますか？")});
        QVERIFY(f.window->isVisible());
        f.dialogs.answerYes = true;
        f.window->RequestClose();
        QVERIFY(!f.window->isVisible());
        f.window.reset();
        log = f.LogPath();
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList lines;
        for (const QByteArray& l : file.readAll().split('\n'))
            if (l.size() > 19)
                lines.append(QString::fromUtf8(l.mid(19).trimmed()));
        QCOMPARE(lines,
                 (QStringList{QStringLiteral("Begin CloseQuery"),    QStringLiteral("Begin CloseQuery"),
                              QStringLiteral("End CloseQuery"),      QStringLiteral("Begin Destroy"),
                              QStringLiteral("Program Initialized"), QStringLiteral("End Frees"),
                              QStringLiteral("End Finalize Core"),   QStringLiteral("Free Retrieves"),
                              QStringLiteral("Free Voices"),         QStringLiteral("Finalize 1/2 0"),
                              QStringLiteral("Free 1/2 0"),          QStringLiteral("Finalize 1/4 0"),
                              QStringLiteral("Free 1/4 0"),          QStringLiteral("Finalize 1/2 1"),
                              QStringLiteral("Free 1/2 1"),          QStringLiteral("Finalize 1/4 1"),
                              QStringLiteral("Free 1/4 1"),          QStringLiteral("Finalize Dummy"),
                              QStringLiteral("Free Dummy"),          QStringLiteral("Free LInfos"),
                              QStringLiteral("Free Params"),         QStringLiteral("Free Core"),
                              QStringLiteral("End Destroy")}));
    }
}

QTEST_MAIN(TestCenterForm)
#include "tst_centerform.moc"
