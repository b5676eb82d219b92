// The auction house's configuration: JSON and command-line accounts, defaults and refusals of bad input.
#include "tools/auction-house/houseconfig.h"

#include <QTest>

using namespace qev;

class TestHouseConfig : public QObject {
    Q_OBJECT

private slots:
    void json_data();
    void json();
    void accountOption_data();
    void accountOption();
    void houseJson_data();
    void houseJson();
    void watchOption_data();
    void watchOption();
    void laneCount_data();
    void laneCount();
};

void TestHouseConfig::json_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("signInPort");
    QTest::addColumn<int>("lanes");
    QTest::addColumn<int>("accounts");
    const HouseConfig d = HouseConfig::Default();
    QTest::newRow("empty object keeps defaults")
        << QByteArray("{}") << true << 11120 << 2 << int(d.accounts.size());
    QTest::newRow("ports and lanes") << QByteArray(R"({"signInPort":0,"dataPort":0,"lanes":[{},{},{}]})")
                                     << true << 0 << 3 << int(d.accounts.size());
    QTest::newRow("accounts replace the defaults")
        << QByteArray(
               R"({"accounts":[{"id":"7","password":"x","outcome":"silent"},{"id":"8","outcome":103}]})")
        << true << 11120 << 2 << 2;
    QTest::newRow("not JSON") << QByteArray("signInPort=1") << false << 0 << 0 << 0;
    QTest::newRow("port out of range") << QByteArray(R"({"signInPort":70000})") << false << 0 << 0 << 0;
    QTest::newRow("five lanes") << QByteArray(R"({"lanes":[{},{},{},{},{}]})") << false << 0 << 0 << 0;
    QTest::newRow("no lanes") << QByteArray(R"({"lanes":[]})") << false << 0 << 0 << 0;
    QTest::newRow("account without id")
        << QByteArray(R"({"accounts":[{"outcome":"ok"}]})") << false << 0 << 0 << 0;
    QTest::newRow("outcome 100 is not a refusal")
        << QByteArray(R"({"accounts":[{"id":"1","outcome":100}]})") << false << 0 << 0 << 0;
    QTest::newRow("bad listen address") << QByteArray(R"({"listen":"nowhere"})") << false << 0 << 0 << 0;
}

void TestHouseConfig::json() {
    QFETCH(QByteArray, json);
    QFETCH(bool, valid);
    QFETCH(int, signInPort);
    QFETCH(int, lanes);
    QFETCH(int, accounts);
    QString error;
    const auto config = HouseConfig::FromJson(json, &error);
    QCOMPARE(config.has_value(), valid);
    QCOMPARE(error.isEmpty(), valid);
    if (!valid)
        return;
    QCOMPARE(int(config->signInPort), signInPort);
    QCOMPARE(int(config->lanes.size()), lanes);
    QCOMPARE(int(config->accounts.size()), accounts);
}

void TestHouseConfig::accountOption_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("code");
    QTest::newRow("accept by default")
        << QByteArray("1001:pw") << true << int(HouseAccount::Outcome::Accept) << 0;
    QTest::newRow("refusal") << QByteArray("1102:pw:102") << true << int(HouseAccount::Outcome::Refuse)
                             << 102;
    QTest::newRow("silent") << QByteArray("1:pw:silent") << true << int(HouseAccount::Outcome::Silent) << 0;
    QTest::newRow("empty password") << QByteArray("1:") << true << int(HouseAccount::Outcome::Accept) << 0;
    QTest::newRow("no password") << QByteArray("1001") << false << 0 << 0;
    QTest::newRow("no id") << QByteArray(":pw") << false << 0 << 0;
    QTest::newRow("unknown outcome") << QByteArray("1:pw:maybe") << false << 0 << 0;
    QTest::newRow("too many parts") << QByteArray("1:pw:101:x") << false << 0 << 0;
}

void TestHouseConfig::accountOption() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, outcome);
    QFETCH(int, code);
    const auto account = HouseConfig::ParseAccount(text);
    QCOMPARE(account.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(int(account->outcome), outcome);
    QCOMPARE(account->refusalCode, code);
}

void TestHouseConfig::houseJson_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("fast");
    QTest::addColumn<int>("watches");
    const int defaultWatches = int(HouseConfig::Default().watches.size());
    QTest::newRow("defaults: live pace, the demo member's watches")
        << QByteArray("{}") << true << false << defaultWatches;
    QTest::newRow("fast pace, seed, codec, ports")
        << QByteArray(R"({"pace":"fast","seed":7,"audioCodec":0,"webPort":0,"audioPort":0})") << true << true
        << defaultWatches;
    QTest::newRow("watches replace the defaults")
        << QByteArray(R"({"watches":[{"member":"1001","lane":1,"exhibit":10004,"flag":"B"},)"
                      R"({"member":"7","lane":0,"exhibit":3}]})")
        << true << false << 2;
    QTest::newRow("unknown pace") << QByteArray(R"({"pace":"slow"})") << false << false << 0;
    QTest::newRow("codec 3") << QByteArray(R"({"audioCodec":3})") << false << false << 0;
    QTest::newRow("negative seed") << QByteArray(R"({"seed":-1})") << false << false << 0;
    QTest::newRow("web port out of range") << QByteArray(R"({"webPort":65536})") << false << false << 0;
    QTest::newRow("a lane of ten thousand lots would reach the next lane's numbers")
        << QByteArray(R"({"lanes":[{"exhibits":10000}]})") << false << false << 0;
    QTest::newRow("watch of a lane the house lacks")
        << QByteArray(R"({"lanes":[{}],"watches":[{"member":"1001","lane":1,"exhibit":3}]})") << false
        << false << 0;
    QTest::newRow("watch by a member that is not a number")
        << QByteArray(R"({"watches":[{"member":"ab","lane":0,"exhibit":3}]})") << false << false << 0;
    QTest::newRow("watch of exhibit 0")
        << QByteArray(R"({"watches":[{"member":"1001","lane":0,"exhibit":0}]})") << false << false << 0;
    QTest::newRow("watch flag C") << QByteArray(
                                         R"({"watches":[{"member":"1001","lane":0,"exhibit":3,"flag":"C"}]})")
                                  << false << false << 0;
}

void TestHouseConfig::houseJson() {
    QFETCH(QByteArray, json);
    QFETCH(bool, valid);
    QFETCH(bool, fast);
    QFETCH(int, watches);
    QString error;
    const auto c = HouseConfig::FromJson(json, &error);
    QCOMPARE(c.has_value(), valid);
    if (!valid) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(c->fastPace, fast);
    QCOMPARE(int(c->watches.size()), watches);
    // Servers beyond sign-in and data are the program's choice, never the file's.
    QVERIFY(!c->liveLanes && !c->webServer && !c->audioServer);
}

void TestHouseConfig::watchOption_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("lane");
    QTest::addColumn<int>("exhibit");
    QTest::addColumn<char>("flag");
    QTest::newRow("member, lane, exhibit") << QByteArray("1001:0:6") << true << 0 << 6 << 'A';
    QTest::newRow("with flag B") << QByteArray("1001:1:10004:B") << true << 1 << 10004 << 'B';
    QTest::newRow("flag C") << QByteArray("1001:1:10004:C") << false << 0 << 0 << 'A';
    QTest::newRow("lane 4") << QByteArray("1001:4:6") << false << 0 << 0 << 'A';
    QTest::newRow("negative lane") << QByteArray("1001:-1:6") << false << 0 << 0 << 'A';
    QTest::newRow("exhibit not a number") << QByteArray("1001:0:six") << false << 0 << 0 << 'A';
    QTest::newRow("member not a number") << QByteArray("dealer:0:6") << false << 0 << 0 << 'A';
    QTest::newRow("too few parts") << QByteArray("1001:0") << false << 0 << 0 << 'A';
}

void TestHouseConfig::watchOption() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, lane);
    QFETCH(int, exhibit);
    QFETCH(char, flag);
    const auto watch = HouseConfig::ParseWatch(text);
    QCOMPARE(watch.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(watch->lane, lane);
    QCOMPARE(watch->exhibit, exhibit);
    QCOMPARE(watch->flag, flag);
}

void TestHouseConfig::laneCount_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("codes");
    QTest::newRow("one keeps A") << 1 << true << QByteArray("A");
    QTest::newRow("four adds C and D") << 4 << true << QByteArray("ABCD");
    QTest::newRow("none") << 0 << false << QByteArray("AB");
    QTest::newRow("five") << 5 << false << QByteArray("AB");
}

void TestHouseConfig::laneCount() {
    QFETCH(int, count);
    QFETCH(bool, valid);
    QFETCH(QByteArray, codes);
    HouseConfig c = HouseConfig::Default();
    QCOMPARE(c.SetLaneCount(count), valid);
    QByteArray actual;
    for (const HouseLane& lane : c.lanes)
        actual += lane.code;
    QCOMPARE(actual, codes);
}

QTEST_GUILESS_MAIN(TestHouseConfig)
#include "tst_houseconfig.moc"
