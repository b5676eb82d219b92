// qev-tool session against the in-process auction house: the JSON lines and the exit status.
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/signinserver.h"
#include "tools/qev-tool/toolcommand.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace qev;

class TestSessionCommand : public QObject {
    Q_OBJECT

private slots:
    void outcomes_data();
    void outcomes();
};

void TestSessionCommand::outcomes_data() {
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("lastLine");
    QTest::newRow("signs in and out")
        << QByteArray(" 1001 ") << QByteArray("demo") << 0 << QByteArray(R"({"result":"signed-out"})");
    QTest::newRow("wrong password") << QByteArray("1001") << QByteArray("demo ") << 1
                                    << QByteArray(R"({"code":101,"result":"refused"})");
    QTest::newRow("refused") << QByteArray("1112") << QByteArray("demo") << 1
                             << QByteArray(R"({"code":112,"result":"refused"})");
}

void TestSessionCommand::outcomes() {
    QFETCH(QByteArray, id);
    QFETCH(QByteArray, password);
    QFETCH(int, status);
    QFETCH(QByteArray, lastLine);
    HouseConfig config = HouseConfig::Default();
    config.signInPort = 0;
    AuctionHouse house(config);
    QVERIFY(house.Start());

    QBuffer in; // already at its end: the session ends as soon as it is established
    QBuffer out;
    QBuffer err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int result = RunTool(
        {"session", "--server", house.SignInAddress(), "--id", id, "--password", password}, in, out, err);
    QCOMPARE(result, status);
    const QByteArrayList lines = out.data().trimmed().split('\n');
    QCOMPARE(lines.first(), QByteArray(R"({"event":"OnSessionStateChanged","new":3,"old":0})"));
    QCOMPARE(lines.last(), lastLine);
    for (const QByteArray& line : lines)
        QVERIFY2(QJsonDocument::fromJson(line).isObject(), line.constData());
    if (status == 0) {
        const auto info = std::find_if(lines.begin(), lines.end(), [](const QByteArray& l) {
            return l.startsWith(R"({"siteInformation")");
        });
        QVERIFY(info != lines.end());
        const QJsonObject site =
            QJsonDocument::fromJson(*info).object().value(QStringLiteral("siteInformation")).toObject();
        QCOMPARE(site.value(QStringLiteral("siteNumber")).toInt(), 12);
        QTRY_COMPARE(house.SignIn().LinesWithCode("LO").size(), 1);
    }
}

QTEST_GUILESS_MAIN(TestSessionCommand)
#include "tst_sessioncommand.moc"
