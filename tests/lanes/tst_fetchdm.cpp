#include "common/clock.h"
#include "lanes/fetchdm.h"
#include "lanes/lotrecord.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/web/auctionwebserver.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

using namespace qev;

namespace {

struct Done {
    int lane;
    int kind;
    int site;
    int exhibit;
    int status;
    QString file;
};

constexpr int kSite = 123;
constexpr int kWait = 15000;

// Addresses as the main window builds them from the site's base URLs.
QUrl DetailUrl(const QUrl& base, int site, int lane, int exhibit) {
    return base.resolved(QUrl(QString::asprintf("%4.4d/%d/%5.5d.html", site, lane + 1, exhibit)));
}

QUrl ImageUrl(const QUrl& base, int site, const QString& folder, int exhibit) {
    return base.resolved(
        QUrl(QString::asprintf("%4.4d/", site) + folder + QString::asprintf("/%4.4d.jpg", exhibit)));
}

} // namespace

class TestFetchDm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fileNames_data();
    void fileNames();
    void downloadsDetail();
    void downloadsPicturesWithTheirAgent();
    void sameLotQueuedOnce();
    void cachedDetailNotFetchedAgain_data();
    void cachedDetailNotFetchedAgain();
    void notFoundRetriedOnceAfterDelay();
    void secondAttemptSucceeds();
    void cancelAllDuringRequest();
    void refusedBodies_data();
    void refusedBodies();
    void redirects_data();
    void redirects();
    void stalledServerFails();
    void connectionCutMidBody();
    void handlerMayDestroyModule();
    void ignoredRequests_data();
    void ignoredRequests();

private:
    void Start(AuctionWebConfig config = {});
    QList<Done> m_done;
    std::optional<QTemporaryDir> m_cache;
    std::optional<ManualClock> m_clock;
    std::optional<ScopedClock> m_installed;
    std::unique_ptr<AuctionWebServer> m_server;
    std::unique_ptr<TFetchDm> m_fetch;
};

void TestFetchDm::init() {
    m_done.clear();
    m_cache.emplace();
    QVERIFY(m_cache->isValid());
    m_clock.emplace();
    m_installed.emplace(*m_clock);
}

void TestFetchDm::cleanup() {
    m_fetch.reset();
    m_server.reset();
    m_installed.reset();
    m_clock.reset();
    m_cache.reset();
}

void TestFetchDm::Start(AuctionWebConfig config) {
    m_server = std::make_unique<AuctionWebServer>(std::move(config));
    QVERIFY(m_server->IsListening());
    m_fetch = std::make_unique<TFetchDm>(m_cache->path());
    m_fetch->SetLaneIndex(0);
    auto record = [this](TFetchDm*, int lane, int kind, int site, int exhibit, int status,
                         const QString& file) {
        m_done.append({lane, kind, site, exhibit, status, file});
    };
    m_fetch->OnDetailDone = record;
    m_fetch->OnPhotoDone = record;
}

void TestFetchDm::fileNames_data() {
    QTest::addColumn<int>("lane");
    QTest::addColumn<int>("site");
    QTest::addColumn<int>("exhibit");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("picture");

    QTest::newRow("lane A") << 0 << 123 << 45 << QStringLiteral(".jpg")
                            << QStringLiteral("shtmls/000123000450")
                            << QStringLiteral("imgs/00012300045-0.jpg");
    QTest::newRow("lane B") << 1 << 123 << 45 << QStringLiteral(".jpg")
                            << QStringLiteral("shtmls/100123000450")
                            << QStringLiteral("imgs/10012300045-0.jpg");
    QTest::newRow("long numbers keep all digits")
        << 0 << 1234567 << 7654321 << QStringLiteral(".jpg") << QStringLiteral("shtmls/0123456776543210")
        << QStringLiteral("imgs/012345677654321-0.jpg");
    QTest::newRow("path as extension dropped")
        << 0 << 1 << 2 << QStringLiteral("/../../x") << QStringLiteral("shtmls/000001000020")
        << QStringLiteral("imgs/00000100002-0");
}

void TestFetchDm::fileNames() {
    QFETCH(int, lane);
    QFETCH(int, site);
    QFETCH(int, exhibit);
    QFETCH(QString, extension);
    QFETCH(QString, detail);
    QFETCH(QString, picture);
    TFetchDm fetch(m_cache->path());
    fetch.SetLaneIndex(lane);
    QCOMPARE(fetch.DetailFileName(site, exhibit, 0), m_cache->filePath(detail));
    QCOMPARE(fetch.PhotoFileName(site, exhibit, extension, 0), m_cache->filePath(picture));
    QVERIFY(QFileInfo(m_cache->filePath(QStringLiteral("shtmls"))).isDir());
    QVERIFY(QFileInfo(m_cache->filePath(QStringLiteral("imgs"))).isDir());
}

void TestFetchDm::downloadsDetail() {
    Start();
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    const Done& done = m_done.first();
    QCOMPARE(done.status, 200);
    QCOMPARE(done.site, kSite);
    QCOMPARE(done.exhibit, 45);
    QCOMPARE(done.file, m_fetch->DetailFileName(kSite, 45, 0));

    const TLotRecord record = TLotRecord::FromFile(done.file);
    QCOMPARE(record.ExhibitNumber(), 45);
    QCOMPARE(record.StartPrice(), m_server->Catalogue().Lot(45).startPriceYen / 1000);
    QCOMPARE(m_server->Requests().size(), 1);
    QCOMPARE(m_server->Requests().first().userAgent, QByteArray("Details"));
    QCOMPARE(m_server->Requests().first().accept, QByteArray("image/png, image/jpeg, image/gif, */*"));
    QCOMPARE(m_fetch->PendingDetails(), 0);
}

void TestFetchDm::downloadsPicturesWithTheirAgent() {
    Start();
    const QString ext = QStringLiteral(".jpg");
    QVERIFY(m_fetch->QueuePhoto(
        kSite, 45, 1, ext, ImageUrl(m_server->ImageBaseUrl(), kSite, QStringLiteral("exhibitcard"), 45), 0));
    QVERIFY(m_fetch->QueuePhoto(
        kSite, 45, 0, ext, ImageUrl(m_server->ImageBaseUrl(), kSite, QStringLiteral("carphoto"), 45), 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 2, kWait);
    // One queue works in order: card first, then photo.
    QCOMPARE(m_done[0].kind, 1);
    QCOMPARE(m_done[1].kind, 0);
    for (const Done& done : m_done) {
        QCOMPARE(done.status, 200);
        QFile file(done.file);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(2) == QByteArray("\xFF\xD8"));
    }
    QVERIFY(m_fetch->IsPhotoCached(kSite, 45, ext, 0));
    QVERIFY(m_fetch->IsPhotoCached(kSite, 45, ext, 1));
    QCOMPARE(m_server->Requests().last().userAgent, QByteArray("Images"));
}

void TestFetchDm::sameLotQueuedOnce() {
    Start();
    const QUrl url = DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45);
    m_clock->advance(0);
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, url, 1000));
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, url, 1000));
    QVERIFY(m_fetch->QueueDetail(kSite, 46, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 46), 0));
    QCOMPARE(m_fetch->PendingDetails(), 2);
    m_clock->advance(1000);
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 2, kWait);
    QCOMPARE(m_done[0].exhibit, 45);
    QCOMPARE(m_done[1].exhibit, 46);
    QCOMPARE(m_server->RequestCount(QStringLiteral("/00045.html")), 1);
}

void TestFetchDm::cachedDetailNotFetchedAgain_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("cached");
    QTest::newRow("scrambled with mark") << LineScramble("REAL_EXHIBIT_NO=45\r\nExhNum=45\r\n") << true;
    QTest::newRow("plain with mark") << QByteArray("ExhNum=45\r\n") << true;
    QTest::newRow("scrambled without mark") << LineScramble("REAL_EXHIBIT_NO=45\r\n") << false;
    QTest::newRow("empty mark") << LineScramble("ExhNum=\r\n") << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestFetchDm::cachedDetailNotFetchedAgain() {
    QFETCH(QByteArray, content);
    QFETCH(bool, cached);
    Start();
    QFile file(m_fetch->DetailFileName(kSite, 45, 0));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(m_fetch->IsDetailCached(kSite, 45, 0), cached);
    QCOMPARE(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0),
             !cached);
    if (!cached) {
        QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
        QVERIFY(m_fetch->IsDetailCached(kSite, 45, 0));
        QVERIFY(!m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    }
    QCOMPARE(m_server->Requests().size(), cached ? 0 : 1);
}

void TestFetchDm::notFoundRetriedOnceAfterDelay() {
    AuctionWebConfig config;
    config.faults = {{WebFault::NotFound, QStringLiteral("/00045.html"), -1}};
    Start(config);
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 500));
    QVERIFY(m_fetch->QueueDetail(kSite, 46, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 46), 500));
    m_clock->advance(500);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->RequestCount(QStringLiteral("/00045.html")), 1, kWait);

    // The retry waits for the item's delay on the installed clock.
    QTest::qWait(400);
    QCOMPARE(m_server->RequestCount(QStringLiteral("/00045.html")), 1);
    QVERIFY(m_done.isEmpty());
    m_clock->advance(500);
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    QCOMPARE(m_done[0].exhibit, 45);
    QCOMPARE(m_done[0].status, 404);
    QCOMPARE(m_server->RequestCount(QStringLiteral("/00045.html")), 2);
    QVERIFY(!QFileInfo::exists(m_done[0].file));

    // The next item became current with its own delay.
    m_clock->advance(500);
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 2, kWait);
    QCOMPARE(m_done[1].exhibit, 46);
    QCOMPARE(m_done[1].status, 200);
}

void TestFetchDm::secondAttemptSucceeds() {
    AuctionWebConfig config;
    config.faults = {{WebFault::NotFound, QString(), 1}};
    Start(config);
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    QCOMPARE(m_done[0].status, 200);
    QCOMPARE(m_server->Requests().size(), 2);
    QVERIFY(m_fetch->IsDetailCached(kSite, 45, 0));
}

void TestFetchDm::cancelAllDuringRequest() {
    AuctionWebConfig config;
    config.slowMs = 1500;
    config.faults = {{WebFault::Slow, QStringLiteral("/00045.html"), -1}};
    Start(config);
    const QString ext = QStringLiteral(".jpg");
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    QVERIFY(m_fetch->QueueDetail(kSite, 46, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 46), 0));
    QVERIFY(m_fetch->QueuePhoto(
        kSite, 45, 0, ext, ImageUrl(m_server->ImageBaseUrl(), kSite, QStringLiteral("carphoto"), 45), 5000));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->RequestCount(QStringLiteral("/00045.html")), 1, kWait);

    m_fetch->CancelAll();
    QCOMPARE(m_fetch->PendingDetails(), 0);
    QCOMPARE(m_fetch->PendingPhotos(), 0);
    m_clock->advance(10000);
    QTest::qWait(2000); // past the slow answer
    QVERIFY(m_done.isEmpty());
    QVERIFY(!QFileInfo::exists(m_fetch->DetailFileName(kSite, 45, 0)));
    QCOMPARE(m_server->RequestCount(QStringLiteral("/00046.html")), 0);

    // The module keeps working after a cancel.
    QVERIFY(m_fetch->QueueDetail(kSite, 46, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 46), 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    QCOMPARE(m_done[0].exhibit, 46);
    QCOMPARE(m_done[0].status, 200);
}

void TestFetchDm::refusedBodies_data() {
    QTest::addColumn<bool>("detail");
    QTest::addColumn<qint64>("bytes");
    QTest::newRow("detail over 1 MiB") << true << qint64(TFetchDm::MaxDetailBytes + 1);
    QTest::newRow("picture over 16 MiB") << false << qint64(TFetchDm::MaxPhotoBytes + 1);
}

void TestFetchDm::refusedBodies() {
    QFETCH(bool, detail);
    QFETCH(qint64, bytes);
    AuctionWebConfig config;
    config.oversizeBytes = bytes;
    config.faults = {{WebFault::Oversized, QString(), -1}};
    Start(config);
    if (detail)
        QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    else
        QVERIFY(m_fetch->QueuePhoto(kSite, 45, 0, QStringLiteral(".jpg"),
                                    ImageUrl(m_server->ImageBaseUrl(), kSite, QStringLiteral("carphoto"), 45),
                                    0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    QCOMPARE(m_done[0].status, TFetchDm::StatusNoAnswer);
    QVERIFY(!QFileInfo::exists(m_done[0].file));
    QCOMPARE(m_server->Requests().size(), 2);
}

void TestFetchDm::redirects_data() {
    QTest::addColumn<int>("hops");
    QTest::addColumn<bool>("arrives");
    // hops + 1 redirections in all: the lot file, the hops, then back to the file.
    QTest::newRow("four redirections") << 3 << true;
    QTest::newRow("five redirections") << 4 << true;
    QTest::newRow("six redirections") << 5 << false;
}

void TestFetchDm::redirects() {
    QFETCH(int, hops);
    QFETCH(bool, arrives);
    AuctionWebConfig config;
    config.redirectHops = hops;
    config.faults = {{WebFault::RedirectChain, QString(), -1}};
    Start(config);
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    QCOMPARE(m_done[0].status == 200, arrives);
    QCOMPARE(m_fetch->IsDetailCached(kSite, 45, 0), arrives);
}

void TestFetchDm::stalledServerFails() {
    AuctionWebConfig config;
    config.slowMs = 5000;
    config.faults = {{WebFault::Slow, QString(), 2}};
    Start(config);
    m_fetch->SetTransferTimeoutMs(300);
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    QCOMPARE(m_done[0].status, TFetchDm::StatusNoAnswer);
    QCOMPARE(m_server->Requests().size(), 2);
}

void TestFetchDm::connectionCutMidBody() {
    // A peer that promises 1000 bytes, sends 10 and hangs up: nothing may be cached.
    QTcpServer peer;
    QVERIFY(peer.listen(QHostAddress::LocalHost));
    int connections = 0;
    connect(&peer, &QTcpServer::newConnection, this, [&] {
        while (QTcpSocket* socket = peer.nextPendingConnection()) {
            ++connections;
            connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                socket->readAll();
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789");
                socket->disconnectFromHost();
            });
        }
    });
    Start();
    QUrl url(QStringLiteral("http://127.0.0.1/0123/1/00045.html"));
    url.setPort(peer.serverPort());
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, url, 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_done.size(), 1, kWait);
    QCOMPARE(m_done[0].status, TFetchDm::StatusNoAnswer);
    QVERIFY(!QFileInfo::exists(m_done[0].file));
    QCOMPARE(connections, 2);
}

void TestFetchDm::handlerMayDestroyModule() {
    Start();
    bool fired = false;
    m_fetch->OnDetailDone = [this, &fired](TFetchDm*, int, int, int, int, int, const QString&) {
        fired = true;
        m_fetch.reset();
    };
    QVERIFY(m_fetch->QueueDetail(kSite, 45, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 45), 0));
    QVERIFY(m_fetch->QueueDetail(kSite, 46, 0, DetailUrl(m_server->DetailBaseUrl(), kSite, 0, 46), 0));
    QTRY_VERIFY_WITH_TIMEOUT(fired, kWait);
    QVERIFY(!m_fetch);
    QTest::qWait(300);
}

void TestFetchDm::ignoredRequests_data() {
    QTest::addColumn<int>("site");
    QTest::addColumn<int>("exhibit");
    QTest::addColumn<QUrl>("address");
    QTest::newRow("no site") << 0 << 45 << QUrl(QStringLiteral("http://127.0.0.1:1/x"));
    QTest::newRow("no lot") << kSite << 0 << QUrl(QStringLiteral("http://127.0.0.1:1/x"));
    QTest::newRow("local file") << kSite << 45 << QUrl(QStringLiteral("file:///etc/passwd"));
    QTest::newRow("no address") << kSite << 45 << QUrl();
}

void TestFetchDm::ignoredRequests() {
    QFETCH(int, site);
    QFETCH(int, exhibit);
    QFETCH(QUrl, address);
    Start();
    QVERIFY(m_fetch->QueueDetail(site, exhibit, 0, address, 0));
    QVERIFY(m_fetch->QueuePhoto(site, exhibit, 0, QStringLiteral(".jpg"), address, 0));
    QCOMPARE(m_fetch->PendingDetails(), 0);
    QCOMPARE(m_fetch->PendingPhotos(), 0);
}

QTEST_MAIN(TestFetchDm)
#include "tst_fetchdm.moc"
