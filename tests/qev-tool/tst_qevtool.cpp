// qev-tool as operators run it: arguments or standard input, one output line per input,
// empty lines for undecodable input, status 2 for usage errors.
#include "session/codec/linecodec.h"

#include <QDate>
#include <QProcess>
#include <QTest>

using namespace qev;

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runTool(const QStringList& args, const QByteArray& input = {}, bool closeInput = true) {
    QProcess p;
    p.start(QStringLiteral(QEV_TOOL_PATH), args);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    if (closeInput)
        p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QStringList latin1(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* s : list)
        out.append(QString::fromLatin1(s));
    return out;
}

} // namespace

class TestQevTool : public QObject {
    Q_OBJECT

private slots:
    void transforms_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("cipher args") << latin1({"cipher", "A", "SI:12345,pass"}) << QByteArray()
                                     << QByteArrayLiteral("XQ==\nTyAZ8LLlhcP3cVbxjw==\n");
        QTest::newRow("decipher stdin")
            << latin1({"decipher"}) << QByteArrayLiteral("XQ==\nTyAZ8LLlhcP3cVbxjw==\n")
            << QByteArrayLiteral("A\nSI:12345,pass\n");
        QTest::newRow("last line without LF")
            << latin1({"decipher"}) << QByteArrayLiteral("XQ==\nXQ%3D%3D") << QByteArrayLiteral("A\nA\n");
        QTest::newRow("undecodable goes on")
            << latin1({"unscramble"}) << QByteArrayLiteral("abc\nYWIg\nQQ==\n")
            << QByteArrayLiteral("\nAB\n\n");
        QTest::newRow("empty lines kept")
            << latin1({"unscramble"}) << QByteArrayLiteral("\n\nYWIg\n") << QByteArrayLiteral("\n\nAB\n");
        // A CR is part of the line: "YWIg\r" has a bad length.
        QTest::newRow("CR kept") << latin1({"unscramble"}) << QByteArrayLiteral("YWIg\r\n")
                                 << QByteArrayLiteral("\n");
        QTest::newRow("no input") << latin1({"cipher"}) << QByteArray() << QByteArray();
        QTest::newRow("empty arg") << latin1({"cipher", ""}) << QByteArray() << QByteArrayLiteral("\n");
        QTest::newRow("cipher stdin shift-jis")
            << latin1({"cipher"}) << QByteArray::fromHex("978e8e440a") << QByteArrayLiteral("i2U3yw==\n");
    }
    void transforms() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        const Run r = runTool(args, input);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, output);
    }

    void scrambleRoundTrip() {
        const QByteArray lines = QByteArrayLiteral("PR:1,2,3\n\x97\x8e\x8e\x44\nlast\r");
        const Run scrambled = runTool(latin1({"scramble"}), lines);
        QCOMPARE(scrambled.status, 0);
        QCOMPARE(scrambled.out.count('\n'), 3);
        const Run back = runTool(latin1({"unscramble"}), scrambled.out);
        QCOMPARE(back.out, QByteArrayLiteral("PR:1,2,3\n\x97\x8e\x8e\x44\nlast\r\n"));
    }

    void overlongLinePrintsEmpty() {
        QByteArray input(3 << 20, 'A');
        input += "\nYWIg\n";
        const Run r = runTool(latin1({"unscramble"}), input);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArrayLiteral("\nAB\n"));
    }

    void token() {
        const QDate before = QDate::currentDate();
        const Run r = runTool(latin1({"token", "1A2B3C4D"}));
        const QDate after = QDate::currentDate();
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.endsWith('\n'));
        const QByteArray plain = LineUnscramble(r.out.chopped(1));
        const auto expected = [](QDate d) -> QByteArray {
            return QByteArray::number(d.day()).rightJustified(2, '0') + "1A2B3C4D" +
                   QByteArray::number(d.month()).rightJustified(2, '0');
        };
        QVERIFY2(plain == expected(before) || plain == expected(after), plain.constData());
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << latin1({"frobnicate"});
        QTest::newRow("case matters") << latin1({"CIPHER", "x"});
        QTest::newRow("token without serial") << latin1({"token"});
        QTest::newRow("token with two") << latin1({"token", "a", "b"});
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        const Run r = runTool(args);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(r.err.startsWith("usage: qev-tool "));
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.endsWith('\n'));
    }
};

QTEST_GUILESS_MAIN(TestQevTool)
#include "tst_qevtool.moc"
