#include "session/codec/linecodec.h"
#include "tools/auction-house/lanes/clientlinereader.h"

#include <QtTest>

using namespace qev;

namespace {
QByteArray Piece(const QByteArray& plain) {
    return LineScramble(plain) + '\r';
}
} // namespace

class TstClientLineReader : public QObject {
    Q_OBJECT
private slots:
    void cut_data();
    void cut();
    void overLimitBreaksForGood();
};

void TstClientLineReader::cut_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("chunk"); // bytes per Feed call; 0 = all at once
    QTest::addColumn<QByteArrayList>("messages");
    QTest::addColumn<int>("skipped");

    const QByteArray two = Piece("NM:abc,1.0") + Piece("BD:12,105,xyz,1000,1.0");
    QTest::newRow("two pieces") << two << 0 << QByteArrayList{"NM|abc,1.0", "BD|12,105,xyz,1000,1.0"} << 0;
    QTest::newRow("byte by byte") << two << 1 << QByteArrayList{"NM|abc,1.0", "BD|12,105,xyz,1000,1.0"} << 0;
    QTest::newRow("two lines in one piece")
        << Piece("KA:\rCF:1,2,3,id,C") << 0 << QByteArrayList{"KA|", "CF|1,2,3,id,C"} << 0;
    QTest::newRow("CR LF line ends") << QByteArray(LineScramble("KA:") + "\r\n" + LineScramble("KA:") +
                                                   "\r\n")
                                     << 0 << QByteArrayList{"KA|", "KA|"} << 0;
    QTest::newRow("unfinished piece waits")
        << QByteArray(Piece("KA:") + LineScramble("BD:1")) << 0 << QByteArrayList{"KA|"} << 0;
    QTest::newRow("not base64") << QByteArray("abc\r" + Piece("KA:")) << 0 << QByteArrayList{"KA|"} << 1;
    QTest::newRow("no colon in third place")
        << QByteArray(Piece("hello") + Piece("K:A")) << 0 << QByteArrayList{} << 2;
    QTest::newRow("scramble of nothing") << QByteArray(LineScramble("") + '\r') << 0 << QByteArrayList{} << 1;
}

void TstClientLineReader::cut() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, chunk);
    QFETCH(QByteArrayList, messages);
    QFETCH(int, skipped);

    ClientLineReader reader;
    QList<ClientMessage> out;
    const qsizetype step = chunk > 0 ? chunk : bytes.size();
    for (qsizetype i = 0; i < bytes.size(); i += step)
        QVERIFY(reader.Feed(QByteArrayView(bytes).sliced(i, qMin(step, bytes.size() - i)), out));
    QByteArrayList got;
    for (const ClientMessage& message : out)
        got.append(message.code + '|' + message.payload);
    QCOMPARE(got, messages);
    QCOMPARE(reader.Skipped(), skipped);
}

void TstClientLineReader::overLimitBreaksForGood() {
    ClientLineReader reader(64);
    QList<ClientMessage> out;
    QVERIFY(reader.Feed(Piece("KA:"), out));
    QVERIFY(!reader.Feed(QByteArray(65, 'A'), out));
    QCOMPARE(reader.Pending(), 0);
    // Once broken, even good lines are refused: the router closes the connection.
    QVERIFY(!reader.Feed(Piece("KA:"), out));
    QCOMPARE(out.size(), 1);

    ClientLineReader inOneGo(64);
    out.clear();
    QVERIFY(!inOneGo.Feed(QByteArray(QByteArray(100, 'A') + '\r' + Piece("KA:")), out));
    QVERIFY(out.isEmpty());
}

QTEST_GUILESS_MAIN(TstClientLineReader)
#include "tst_clientlinereader.moc"
