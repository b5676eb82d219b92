#include "audio/core/audioframeparser.h"
#include "audio/core/clockaudiodevice.h"
#include "audio/core/soundform.h"
#include "common/clock.h"
#include "common/pumpwait.h"
#include "session/audio/audiochannel.h"

#include <QPointer>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace qev;

namespace {

// A local audio server and a channel with a clock-driven output.
struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    QTcpServer server;
    QPointer<QTcpSocket> peer;
    QByteArray received;
    ClockAudioDevice* device = nullptr;
    std::unique_ptr<TSoundForm> out;
    std::unique_ptr<AudioChannel> channel;
    QList<QByteArray> chunks;

    Fixture() {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { received += peer->readAll(); });
        });
        auto d = std::make_unique<ClockAudioDevice>();
        device = d.get();
        out = std::make_unique<TSoundForm>(std::move(d));
        out->OnChunkQueued = [this](TSoundForm&, const TWaveItem& chunk) { chunks.append(chunk.pcm); };
        channel = std::make_unique<AudioChannel>(*out);
        channel->SiteIdentifier = [] { return QByteArray("QEV"); };
        channel->LaneCode = [](int lane) -> std::optional<QByteArray> {
            if (lane == 0)
                return QByteArray("L1");
            return std::nullopt;
        };
        channel->SetServerSampleRate(8000);
    }
    QString port() const { return QString::number(server.serverPort()); }
    bool connect() {
        peer = nullptr;
        channel->OpenIfDue(QStringLiteral("127.0.0.1"), port(), false);
        return PumpWait([this] { return channel->isConnected() && peer; }, 5000);
    }
    void send(const QByteArray& bytes) {
        peer->write(bytes);
        peer->flush();
    }
    bool waitReceived(qsizetype n) {
        return PumpWait([&] { return received.size() >= n; }, 5000);
    }
    bool waitChunk() {
        return PumpWait([&] { return device->sounding(); }, 5000);
    }
};

QByteArray rawFrame(int bytes, int seq) {
    return EncodeAudioFrame(
        QByteArray("CA 1,0,,,8,8000," + QByteArray::number(seq) + ",20," + QByteArray(bytes, 'a')));
}

} // namespace

class TestAudioChannel : public QObject {
    Q_OBJECT
private slots:
    void openingConditions_data();
    void openingConditions();
    void subscribesOnlyWhenAsked();
    void wishChangesResetAndResend();
    void subscriptionLine_data();
    void subscriptionLine();
    void silenceWatchdog();
    void connectIsBounded();
    void noDelayOnceConnected();
    void reconnectStartsWithEmptyBuffers();
    void serverDropLeavesChannelClosed();
    void serverInfoStartsOutputOnce();
};

void TestAudioChannel::openingConditions_data() {
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<bool>("hostGiven");
    QTest::addColumn<QString>("portText");
    QTest::addColumn<bool>("opens");
    QTest::newRow("all met") << false << true << QString() << true;
    QTest::newRow("DisableAudio") << true << true << QString() << false;
    QTest::newRow("no host") << false << false << QString() << false;
    QTest::newRow("no port") << false << true << QStringLiteral("") << false;
    QTest::newRow("port not a number") << false << true << QStringLiteral("80x") << false;
    QTest::newRow("port out of range") << false << true << QStringLiteral("70000") << false;
}

void TestAudioChannel::openingConditions() {
    QFETCH(bool, disabled);
    QFETCH(bool, hostGiven);
    QFETCH(QString, portText);
    Fixture f;
    const QString port = portText.isNull() ? f.port() : portText;
    f.channel->OpenIfDue(hostGiven ? QStringLiteral("127.0.0.1") : QString(), port, disabled);
    QTEST(!f.channel->isClosed(), "opens");
}

void TestAudioChannel::subscribesOnlyWhenAsked() {
    Fixture f;
    QVERIFY(f.connect());
    // A second tick while connected does not open another connection.
    QPointer<QTcpSocket> first = f.peer;
    f.channel->OpenIfDue(QStringLiteral("127.0.0.1"), f.port(), false);
    PumpFor(50);
    QCOMPARE(f.peer, first);
    QCOMPARE(f.received, QByteArray()); // nothing is sent until "QN"
    f.send(EncodeAudioFrame("QN."));
    QVERIFY(f.waitReceived(11));
    QCOMPARE(f.received, QByteArray("NM:QEV,L1,0\r"));
}

void TestAudioChannel::wishChangesResetAndResend() {
    Fixture f;
    // Not connected: the wish is stored and the output still reset, nothing sent.
    f.out->QueueChunk(1, QByteArray(8000, 'x'));
    QVERIFY(f.device->sounding());
    f.channel->SetAudioWanted(true);
    QVERIFY(!f.device->sounding());

    QVERIFY(f.connect());
    f.send(EncodeAudioFrame("QN"));
    QVERIFY(f.waitReceived(12));
    QCOMPARE(f.received, QByteArray("NM:QEV,L1,1\r"));
    // A chunk sounding when "QN" arrives is stopped, as is one when the wish changes.
    f.send(rawFrame(1600, 1));
    QVERIFY(f.waitChunk());
    f.send(EncodeAudioFrame("QN"));
    QVERIFY(f.waitReceived(24));
    QVERIFY(!f.device->sounding());
    f.send(rawFrame(1600, 2));
    QVERIFY(f.waitChunk());
    f.channel->SetAudioWanted(false);
    QVERIFY(!f.device->sounding());
    QVERIFY(f.waitReceived(36));
    QCOMPARE(f.received.mid(24), QByteArray("NM:QEV,L1,0\r"));
}

void TestAudioChannel::subscriptionLine_data() {
    QTest::addColumn<QByteArray>("site");
    QTest::addColumn<bool>("hasLane");
    QTest::addColumn<bool>("wanted");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("wanted") << QByteArray("QEV") << true << true << QByteArray("NM:QEV,A1,1\r");
    QTest::newRow("not wanted") << QByteArray("QEV") << true << false << QByteArray("NM:QEV,A1,0\r");
    QTest::newRow("no such lane") << QByteArray("QEV") << false << true << QByteArray("NM:QEV,?,1\r");
    QTest::newRow("Shift-JIS bytes pass through")
        << QByteArray("\x83\x65") << true << true << QByteArray("NM:\x83\x65,A1,1\r");
}

void TestAudioChannel::subscriptionLine() {
    QFETCH(QByteArray, site);
    QFETCH(bool, hasLane);
    QFETCH(bool, wanted);
    const std::optional<QByteArray> lane = hasLane ? std::optional<QByteArray>("A1") : std::nullopt;
    QTEST(AudioChannel::SubscriptionLine(site, lane, wanted), "line");
}

void TestAudioChannel::silenceWatchdog() {
    Fixture f;
    QVERIFY(f.connect());
    // A server that accepts and never sends: silence counts from the connect.
    f.clock.advance(30'000);
    f.channel->CheckSilence();
    QVERIFY(!f.channel->isClosed());
    f.clock.advance(1);
    f.channel->CheckSilence();
    QVERIFY(f.channel->isClosed());
    QVERIFY(f.connect());
    f.send(EncodeAudioFrame("ZZ unknown frames keep it open too"));
    QVERIFY(PumpWait([&] { return f.channel->lastReceiptMs() != 0; }, 5000));
    f.clock.advance(30'000);
    f.channel->CheckSilence();
    QVERIFY(!f.channel->isClosed());
    f.send(QByteArray("\x05", 1)); // a partial frame is a data event as well
    const qint64 before = f.channel->lastReceiptMs();
    QVERIFY(PumpWait([&] { return f.channel->lastReceiptMs() != before; }, 5000));
    f.clock.advance(30'001);
    f.channel->CheckSilence();
    QVERIFY(f.channel->isClosed());
    QCOMPARE(f.channel->lastReceiptMs(), 0);
    // The next tick connects again.
    QVERIFY(f.connect());
}

void TestAudioChannel::connectIsBounded() {
    // A listener whose queue is full drops further connection attempts: connecting never ends
    // on its own.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    QVERIFY(listener >= 0);
    const auto closeListener = qScopeGuard([listener] { ::close(listener); });
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&addr), len) == 0);
    QVERIFY(::listen(listener, 0) == 0);
    QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) == 0);
    const QString port = QString::number(ntohs(addr.sin_port));
    QTcpSocket fillers[2];
    for (auto& s : fillers)
        s.connectToHost(QStringLiteral("127.0.0.1"), ntohs(addr.sin_port));
    PumpFor(200);

    Fixture f;
    f.channel->OpenIfDue(QStringLiteral("127.0.0.1"), port, false);
    PumpFor(300);
    if (f.channel->isConnected())
        QSKIP("this system accepts past a full listen queue");
    QVERIFY(!f.channel->isClosed());
    f.clock.advance(AudioChannel::kConnectLimitMs);
    f.channel->CheckSilence();
    QVERIFY(!f.channel->isClosed());
    f.clock.advance(1);
    f.channel->CheckSilence();
    QVERIFY(f.channel->isClosed());
    // The next tick tries again, against a server that answers this time.
    QVERIFY(f.connect());
}

void TestAudioChannel::noDelayOnceConnected() {
    Fixture f;
    QVERIFY(f.connect());
    // What the kernel holds, not what Qt remembers.
    int on = 0;
    socklen_t len = sizeof on;
    QVERIFY(::getsockopt(int(f.channel->socket().socketDescriptor()), IPPROTO_TCP, TCP_NODELAY, &on, &len) ==
            0);
    QVERIFY(on != 0);
}

void TestAudioChannel::reconnectStartsWithEmptyBuffers() {
    Fixture f;
    QVERIFY(f.connect());
    const QByteArray frame = rawFrame(1000, 1);
    f.send(frame + frame.left(600));
    QVERIFY(PumpWait([&] { return f.channel->receiver().accumulated() == 1000; }, 5000));
    f.channel->close();
    QCOMPARE(f.channel->receiver().accumulated(), 0);
    QVERIFY(f.connect());
    // Had the half frame survived, these bytes would be read as its rest.
    f.send(rawFrame(1600, 2));
    QVERIFY(f.waitChunk());
    QCOMPARE(f.chunks, QList<QByteArray>{QByteArray(1600, 'a')});
}

void TestAudioChannel::serverDropLeavesChannelClosed() {
    Fixture f;
    QVERIFY(f.connect());
    f.send(rawFrame(500, 1));
    QVERIFY(PumpWait([&] { return f.channel->receiver().accumulated() == 500; }, 5000));
    f.peer->abort();
    QVERIFY(PumpWait([&] { return f.channel->isClosed(); }, 5000));
    QCOMPARE(f.channel->receiver().accumulated(), 0);
    QCOMPARE(f.channel->lastReceiptMs(), 0);
    // A refused connection also ends closed.
    f.server.close();
    f.channel->OpenIfDue(QStringLiteral("127.0.0.1"), f.port(), false);
    QVERIFY(PumpWait([&] { return f.channel->isClosed(); }, 5000));
}

void TestAudioChannel::serverInfoStartsOutputOnce() {
    ClockAudioDevice* device = nullptr;
    auto d = std::make_unique<ClockAudioDevice>();
    device = d.get();
    TSoundForm out(std::move(d));
    AudioChannel channel(out);
    channel.SetServerSampleRate(0);
    QVERIFY(!out.started());
    channel.SetServerSampleRate(11025);
    QVERIFY(out.started());
    QCOMPARE(device->primaryFormat, (WaveFormat{11025, 8, 1}));
    channel.SetServerSampleRate(8000); // already started: no second start, no exception
    QCOMPARE(device->opens, 1);
    QCOMPARE(channel.receiver().currentRate(), 8000);
    QCOMPARE(channel.receiver().currentBits(), 8);
}

QTEST_GUILESS_MAIN(TestAudioChannel)
#include "tst_audiochannel.moc"
