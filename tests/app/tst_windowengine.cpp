// The window as the program builds it, with the real browser engine, offscreen, against the whole
// auction house in this process: the notice page loads during the launch, the login reaches the
// two-lane screen with the alarm settings page navigated for the dealer.
#include "app/centerform.h"
#include "app/loginpanel.h"
#include "app/web/webengineenvironment.h"
#include "app/web/webenginewebpane.h"
#include "common/pumpwait.h"
#include "common/settingsstore.h"
#include "lanes/views/tlaneview.h"
#include "skin/fontsetup.h"
#include "skin/qev2016jpanel.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/web/auctionwebserver.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace qev;

namespace {
constexpr int kWaitMs = 30000; // a bound on real time, never an assertion about speed
} // namespace

class TestWindowEngine : public QObject {
    Q_OBJECT

private slots:
    void launchLoginAndAuctionScreen() {
        HouseConfig c = HouseConfig::Default();
        c.signInPort = 0;
        c.dataPort = 0;
        c.webPort = 0;
        c.audioServer = false;
        c.webServer = true;
        c.liveLanes = true;
        c.fastPace = true;
        AuctionHouse house(c);
        QString error;
        QVERIFY2(house.Start(&error), qPrintable(error));
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("qevreal.ini"));
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("Uri/Login"), QString::fromLatin1(house.SignInAddress()));
            s.setValue(QStringLiteral("Uri/Web"),
                       QStringLiteral("http://127.0.0.1:%1").arg(house.Web()->Port()));
        }
        SettingsStore settings({ini, dir.filePath(QStringLiteral("user/QEV2016/QEV2016.ini"))});
        TCenterForm::Services services;
        services.settings = &settings;
        services.makeWebPane = [](QWidget* parent) -> std::unique_ptr<WebPane> {
            return std::make_unique<WebEngineWebPane>(parent);
        };
        services.screen = QSize(1280, 1024);
        services.logPath = dir.filePath(QStringLiteral("qevreal.log"));
        services.cacheFolder = dir.filePath(QStringLiteral("cache/"));
        TCenterForm window(std::move(services));
        window.show();
        QVERIFY(PumpWait([&window] { return window.Screen() == TCenterForm::scLogin; }, kWaitMs));
        QVERIFY(window.LoginBrowser().NavigationComplete());
        QVERIFY(window.LoginBrowser().NavigationSucceeded());
        QVERIFY(!window.LoginBrowser().ScrollBarsVisible());
        QCOMPARE(window.LoginBrowser().Widget()->contextMenuPolicy(), Qt::NoContextMenu);
        window.grab().save(QStringLiteral("%1/engine_login.png").arg(QLatin1String(QT_TESTCASE_BUILDDIR)));

        window.LoginPanel().EdtLoginID().setText(QStringLiteral("1001"));
        window.LoginPanel().EdtLoginPassword().setText(QStringLiteral("demo"));
        window.Login(TLoginPanel::kTwoLaneTag);
        QCOMPARE(window.Screen(), TCenterForm::scAuction);
        QVERIFY(PumpWait([&window] { return window.AlarmBrowser().NavigationComplete(); }, kWaitMs));
        auto& lane = static_cast<TLaneView&>(window.TwoLaneViewOf(1));
        QVERIFY(PumpWait([&lane] { return !lane.CarInfo().Text().isEmpty(); }, kWaitMs));
        window.grab().save(QStringLiteral("%1/engine_auction.png").arg(QLatin1String(QT_TESTCASE_BUILDDIR)));
    }
};

int main(int argc, char** argv) {
    PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    TestWindowEngine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowengine.moc"
