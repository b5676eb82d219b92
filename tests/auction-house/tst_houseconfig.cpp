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

QTEST_GUILESS_MAIN(TestHouseConfig)
#include "tst_houseconfig.moc"
