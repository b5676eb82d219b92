#include "app/web/webengineenvironment.h"

#include <QtTest>

using namespace qev;

// The decision only; tst_webenginepane runs the engine with what it decides for CI.
class TestWebEngineEnvironment : public QObject {
    Q_OBJECT
private slots:
    void environment_data();
    void environment();
};

void TestWebEngineEnvironment::environment_data() {
    QTest::addColumn<bool>("root");
    QTest::addColumn<bool>("display");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("userSandbox"); // "-" when unset
    QTest::addColumn<QByteArray>("userFlags");   // "-" when unset
    QTest::addColumn<QByteArray>("sandbox");     // "-" when left alone
    QTest::addColumn<QByteArray>("flags");       // "-" when left alone

    const QByteArray quiet = "--disable-background-networking --disable-component-update "
                             "--disable-domain-reliability --no-pings --no-first-run";
    QTest::newRow("root offscreen (CI)") << true << false << QByteArray("offscreen") << QByteArray("-")
                                         << QByteArray("-") << QByteArray("1") << "--disable-gpu " + quiet;
    QTest::newRow("user on a desktop") << false << true << QByteArray("xcb") << QByteArray("-")
                                       << QByteArray("-") << QByteArray("-") << quiet;
    QTest::newRow("user, no display") << false << false << QByteArray() << QByteArray("-") << QByteArray("-")
                                      << QByteArray("1") << "--disable-gpu " + quiet;
    QTest::newRow("user offscreen beside a display")
        << false << true << QByteArray("offscreen") << QByteArray("-") << QByteArray("-") << QByteArray("1")
        << "--disable-gpu " + quiet;
    QTest::newRow("root on a desktop") << true << true << QByteArray("xcb") << QByteArray("-")
                                       << QByteArray("-") << QByteArray("1") << "--disable-gpu " + quiet;
    QTest::newRow("user's sandbox setting kept")
        << true << false << QByteArray("offscreen") << QByteArray("0") << QByteArray("-") << QByteArray("-")
        << "--disable-gpu " + quiet;
    QTest::newRow("user's flags last, no repeats")
        << true << false << QByteArray("offscreen") << QByteArray("-")
        << QByteArray("--disable-gpu --no-pings --lang=ja") << QByteArray("1")
        << QByteArray("--disable-background-networking --disable-component-update "
                      "--disable-domain-reliability --no-first-run --disable-gpu --no-pings --lang=ja");
    QTest::newRow("switch with a value counts as named")
        << false << true << QByteArray("xcb") << QByteArray("-") << QByteArray("--disable-component-update=0")
        << QByteArray("-")
        << QByteArray("--disable-background-networking --disable-domain-reliability --no-pings "
                      "--no-first-run --disable-component-update=0");
    QTest::newRow("user's flags already complete") << false << true << QByteArray("xcb") << QByteArray("-")
                                                   << quiet << QByteArray("-") << QByteArray("-");
}

void TestWebEngineEnvironment::environment() {
    QFETCH(bool, root);
    QFETCH(bool, display);
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, userSandbox);
    QFETCH(QByteArray, userFlags);
    QFETCH(QByteArray, sandbox);
    QFETCH(QByteArray, flags);
    const auto given = [](const QByteArray& v) { return v == "-" ? std::nullopt : std::optional(v); };

    const WebEngineEnvironment env =
        DecideWebEngineEnvironment({root, display, platform, given(userSandbox), given(userFlags)});
    QCOMPARE(env.disableSandbox, given(sandbox));
    QCOMPARE(env.chromiumFlags, given(flags));
}

QTEST_APPLESS_MAIN(TestWebEngineEnvironment)
#include "tst_webengineenvironment.moc"
