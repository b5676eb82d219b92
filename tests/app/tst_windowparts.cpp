// The window's small parts: size from the screen, saved credentials, one instance per user,
// the configuration keys and the opening-time text.
#include "app/appconfig.h"
#include "app/centerform.h"
#include "app/credentialstore.h"
#include "app/instancelock.h"
#include "app/windowsize.h"

#include <QTemporaryDir>
#include <QTest>

using namespace qev;

class TestWindowParts : public QObject {
    Q_OBJECT

private slots:
    void windowSize_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<bool>("captioned");
        QTest::addColumn<int>("offset");
        QTest::newRow("1024 x 768") << QSize(1024, 768) << QSize(1024, 768) << false << 0;
        QTest::newRow("1024 x 600") << QSize(1024, 600) << QSize(1008, 730) << false << -8;
        QTest::newRow("1024 x 800") << QSize(1024, 800) << QSize(1008, 730) << true << -8;
        QTest::newRow("1280 x 1024") << QSize(1280, 1024) << QSize(1024, 730) << true << 0;
        QTest::newRow("1366 x 768") << QSize(1366, 768) << QSize(1024, 730) << false << 0;
        QTest::newRow("800 x 600") << QSize(800, 600) << QSize(1024, 730) << false << 0;
    }
    void windowSize() {
        QFETCH(QSize, screen);
        QFETCH(QSize, client);
        QFETCH(bool, captioned);
        QFETCH(int, offset);
        const WindowSize s = WindowSizeFor(screen);
        QCOMPARE(s.client, client);
        QCOMPARE(s.captioned, captioned);
        QCOMPARE(s.horizontalOffset(), offset);
    }

    void credentials_data() {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("storedId");
        QTest::addColumn<QString>("storedPassword");
        QTest::newRow("ticked keeps the ID as typed")
            << true << QStringLiteral(" 1001 ") << QStringLiteral("demo");
        QTest::newRow("unticked forgets") << false << QString() << QString();
    }
    void credentials() {
        QFETCH(bool, ticked);
        QFETCH(QString, storedId);
        QFETCH(QString, storedPassword);
        QTemporaryDir dir;
        QSettings user(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
        SaveCredentials(user, {true, QStringLiteral("old"), QStringLiteral("old")});
        SaveCredentials(user, {ticked, QStringLiteral(" 1001 "), QStringLiteral("demo")});
        const Credentials back = LoadCredentials(user);
        QCOMPARE(back.ticked, ticked);
        QCOMPARE(back.id, storedId);
        QCOMPARE(back.password, storedPassword);
        QVERIFY(user.value(QStringLiteral("password")).toString() != QStringLiteral("demo") || !ticked);
        QCOMPARE(user.value(QStringLiteral("sp")).toBool(), ticked);
    }
    void credentialsThatDoNotDecipher() {
        QTemporaryDir dir;
        QSettings user(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
        user.setValue(QStringLiteral("registerPassword"), true);
        user.setValue(QStringLiteral("id"), QStringLiteral("1001"));
        user.setValue(QStringLiteral("password"), QStringLiteral("%%%not base64"));
        const Credentials back = LoadCredentials(user);
        QVERIFY(back.ticked);
        QCOMPARE(back.id, QStringLiteral("1001"));
        QCOMPARE(back.password, QString());
    }

    void secondInstanceIsRefused() {
        QTemporaryDir dir;
        const InstanceLock first(dir.path());
        QVERIFY(first.Acquired());
        const InstanceLock second(dir.path());
        QVERIFY(!second.Acquired());
    }

    void configKeys() {
        QTemporaryDir dir;
        QSettings ini(dir.filePath(QStringLiteral("qevreal.ini")), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Uri/Login"), QStringLiteral("10.0.0.5:11120"));
        ini.setValue(QStringLiteral("Uri/Web"), QStringLiteral("http://10.0.0.6:8080/"));
        const AppConfig c = AppConfig::Read(ini);
        QCOMPARE(c.signInServer, QStringLiteral("10.0.0.5:11120"));
        QCOMPARE(c.LoginNoticeUrl(), QStringLiteral("http://10.0.0.6:8080/qevreal/loginMSG.html"));
        QCOMPARE(c.AlarmUrlFor(QStringLiteral("1001")),
                 QStringLiteral("http://10.0.0.6:8080/qevweb/alarm/1001"));
        QCOMPARE(c.BuildCheckUrl(), QStringLiteral("http://10.0.0.6:8080/checkbuild.php"));
    }

    void openingText_data() {
        QTest::addColumn<int>("opening");
        QTest::addColumn<QString>("text");
        QTest::newRow("11:00") << 110000 << QStringLiteral("11時00分より開催いたします");
        QTest::newRow("9:30") << 93000 << QStringLiteral("09時30分より開催いたします");
    }
    void openingText() {
        QFETCH(int, opening);
        QFETCH(QString, text);
        QCOMPARE(TCenterForm::OpeningText(opening), text);
    }
};

QTEST_MAIN(TestWindowParts)
#include "tst_windowparts.moc"
