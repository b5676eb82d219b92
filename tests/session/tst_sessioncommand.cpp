// qev-tool session against the in-process auction house: the JSON lines and the exit status.
#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/signinserver.h"
#include "tools/qev-tool/toolcommand.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace qev;

namespace {

struct Streams {
    QBuffer in; // already at its end: the session ends as soon as it is established
    QBuffer out;
    QBuffer err;
    Streams() {
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
    }
    int Run(const QByteArray& server) {
        return RunTool({"session", "--server", server, "--id", "1001", "--password", "demo"}, in, out, err);
    }
    QByteArray LastLine() const { return out.data().trimmed().split('\n').last(); }
};

// Lets the member in once, then stops listening: the sign-out finds nobody to tell.
class OneSessionServer {
public:
    OneSessionServer() {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket* s = m_server.nextPendingConnection();
            s->write(LineCipher("ST:0") + '\r');
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                if (!LineDecipher(s->readAll().trimmed()).startsWith("LI:"))
                    return;
                s->write(LineCipher("AN:12,2|") + '\r' + LineCipher("SV:") + '\r');
                m_server.close();
            });
        });
    }
    QByteArray Address() const { return "127.0.0.1:" + QByteArray::number(m_server.serverPort()); }

private:
    QTcpServer m_server;
};

} // namespace

class TestSessionCommand : public QObject {
    Q_OBJECT

private slots:
    void outcomes_data();
    void outcomes();
    void signOutThatNeverArrives();
    void disableAudioTweak_data();
    void disableAudioTweak();
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

void TestSessionCommand::signOutThatNeverArrives() {
    ManualClock clock;
    ScopedClock scoped(clock);
    QTimer ticking; // the sign-out's deadline passes without waiting for it in real time
    ticking.setInterval(100);
    QObject::connect(&ticking, &QTimer::timeout, [&clock] { clock.advance(1000); });
    ticking.start();
    OneSessionServer server;
    Streams s;
    QCOMPARE(s.Run(server.Address()), 3);
    QCOMPARE(s.LastLine(), QByteArray(R"({"result":"sign-out-failed"})"));
}

void TestSessionCommand::disableAudioTweak_data() {
    QTest::addColumn<QByteArray>("tweaks");
    QTest::addColumn<bool>("audioOpened");
    QTest::newRow("no tweaks") << QByteArray() << true;
    QTest::newRow("DisableAudio") << QByteArray("[Tweaks]\nDisableAudio=true\n") << false;
    QTest::newRow("DisableAudio off") << QByteArray("[Tweaks]\nDisableAudio=0\n") << true;
}

// The tool reads the user's "Tweaks" as the window does.
void TestSessionCommand::disableAudioTweak() {
    QFETCH(QByteArray, tweaks);
    QFETCH(bool, audioOpened);
    QTemporaryDir config;
    QVERIFY(QDir(config.path()).mkpath(QStringLiteral("QEV2016")));
    if (!tweaks.isEmpty()) {
        QFile file(config.filePath(QStringLiteral("QEV2016/QEV2016.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(tweaks);
    }
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QTcpServer audio;
    QVERIFY(audio.listen(QHostAddress::LocalHost));
    HouseConfig c = HouseConfig::Default();
    c.signInPort = 0;
    c.audioAddress = "127.0.0.1:" + QByteArray::number(audio.serverPort());
    AuctionHouse house(c);
    QVERIFY(house.Start());
    Streams s;
    const int result = s.Run(house.SignInAddress());
    if (previous.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previous);
    QCOMPARE(result, 0);
    // The tool's own event handling may have taken the connection in already.
    QCOMPARE(audio.hasPendingConnections() || audio.waitForNewConnection(audioOpened ? 2000 : 200),
             audioOpened);
}

QTEST_GUILESS_MAIN(TestSessionCommand)
#include "tst_sessioncommand.moc"
