// The session tool's command lines: what each one does and what it reports.
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"
#include "tools/qev-tool/sessioninput.h"

#include <QJsonDocument>
#include <QTest>

using namespace qev;

class TestSessionInput : public QObject {
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void splitAndOverlongLines();
};

void TestSessionInput::commands_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QByteArrayList>("reports");
    QTest::newRow("bid on a lane that is not connected")
        << QByteArray("bid 0\n") << true << QByteArrayList{R"({"command":"bid","lane":0,"sent":false})"};
    QTest::newRow("bid on a lane that does not exist")
        << QByteArray("bid 7\n") << true << QByteArrayList{R"({"command":"bid","lane":7,"sent":false})"};
    QTest::newRow("router switch") << QByteArray("  bid   on \nbid off\n") << true
                                   << QByteArrayList{R"({"command":"bid on"})", R"({"command":"bid off"})"};
    QTest::newRow("confirmation on a closed channel")
        << QByteArray("confirm 1 12 105 1030 C\n") << true
        << QByteArrayList{R"({"command":"confirm","lane":1,"sent":false})"};
    QTest::newRow("confirmation with a bad answer")
        << QByteArray("confirm 1 12 105 1030 X\n") << true
        << QByteArrayList{R"({"error":"unknown command","line":"confirm 1 12 105 1030 X"})"};
    QTest::newRow("bid without a lane")
        << QByteArray("bid\n") << true << QByteArrayList{R"({"error":"unknown command","line":"bid"})"};
    QTest::newRow("blank lines") << QByteArray("\n \n") << true << QByteArrayList{};
    QTest::newRow("quit stops the rest") << QByteArray("quit\nbid 0\n") << false << QByteArrayList{};
    QTest::newRow("no newline yet") << QByteArray("quit") << true << QByteArrayList{};
}

void TestSessionInput::commands() {
    QFETCH(QByteArray, input);
    QFETCH(bool, goesOn);
    QFETCH(QByteArrayList, reports);
    TProcsDm dm(std::make_unique<FixedFacts>());
    QByteArrayList got;
    SessionInput in(
        dm, [&got](const QJsonObject& o) { got.append(QJsonDocument(o).toJson(QJsonDocument::Compact)); });
    QCOMPARE(in.Feed(input), goesOn);
    QCOMPARE(got, reports);
}

void TestSessionInput::splitAndOverlongLines() {
    TProcsDm dm(std::make_unique<FixedFacts>());
    QByteArrayList got;
    SessionInput in(
        dm, [&got](const QJsonObject& o) { got.append(QJsonDocument(o).toJson(QJsonDocument::Compact)); });
    QVERIFY(in.Feed("bi"));
    QVERIFY(in.Feed(QByteArray("d 1\n" + QByteArray(100000, 'x') + "\nqu")));
    QCOMPARE(got,
             (QByteArrayList{R"({"command":"bid","lane":1,"sent":false})", R"({"error":"line too long"})"}));
    QVERIFY(!in.Feed("it\n"));
}

QTEST_GUILESS_MAIN(TestSessionInput)
#include "tst_sessioninput.moc"
