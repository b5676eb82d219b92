#include "common/clock.h"
#include "lanes/fetchdm.h"
#include "lanes/jpegdecoder.h"
#include "lanes/lotimageloader.h"
#include "lanes/lotrecord.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/catalogue/carcatalogue.h"
#include "tools/auction-house/web/auctionwebserver.h"
#include "tools/auction-house/web/carphotopainter.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cctype>
#include <memory>

using namespace qev;

namespace {

struct Answer {
    int status = 0;
    QByteArray body;
    QByteArray contentType;
};

constexpr int kWait = 15000;

QString FromSjis(const QByteArray& bytes) {
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

QUrl DetailUrl(const QUrl& base, int site, int lane, int exhibit) {
    return base.resolved(QUrl(QString::asprintf("%4.4d/%d/%5.5d.html", site, lane + 1, exhibit)));
}

QUrl ImageUrl(const QUrl& base, int site, const QString& folder, int exhibit) {
    return base.resolved(
        QUrl(QString::asprintf("%4.4d/", site) + folder + QString::asprintf("/%4.4d.jpg", exhibit)));
}

} // namespace

class TestAuctionWeb : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pages_data();
    void pages();
    void buildCheckAnswerConfigurable();
    void detailFileIsCatalogueLot_data();
    void detailFileIsCatalogueLot();
    void catalogueIsDeterministic();
    void picturesAreRealJpegs();
    void photoFollowsLotColour();
    void faults_data();
    void faults();
    void announcedLotLandsInCache();

private:
    Answer Get(const QUrl& url);
    std::unique_ptr<AuctionWebServer> m_server;
    QNetworkAccessManager m_http;
};

void TestAuctionWeb::init() {
    m_server = std::make_unique<AuctionWebServer>(AuctionWebConfig{});
    QVERIFY(m_server->IsListening());
}

void TestAuctionWeb::cleanup() {
    m_server.reset();
}

Answer TestAuctionWeb::Get(const QUrl& url) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    std::unique_ptr<QNetworkReply> reply(m_http.get(request));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!finished.wait(kWait))
        return {};
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.body = reply->readAll();
    answer.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    return answer;
}

void TestAuctionWeb::pages_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("contains");
    QTest::newRow("login notice") << QStringLiteral("/qevreal/loginMSG.html") << 200
                                  << QStringLiteral("お知らせ");
    QTest::newRow("download page") << QStringLiteral("/setup/") << 200 << QStringLiteral("ダウンロード");
    QTest::newRow("build check") << QStringLiteral("/checkbuild.php") << 200 << QStringLiteral("1,0");
    QTest::newRow("unknown page") << QStringLiteral("/nothing.html") << 404 << QString();
    QTest::newRow("detail with letters")
        << QStringLiteral("/qevreal/shtml/0123/1/abc.html") << 404 << QString();
    QTest::newRow("detail without suffix")
        << QStringLiteral("/qevreal/shtml/0123/1/00045") << 404 << QString();
    QTest::newRow("detail of lot 0") << QStringLiteral("/qevreal/shtml/0123/1/00000.html") << 404
                                     << QString();
    QTest::newRow("unknown picture folder")
        << QStringLiteral("/qevreal/img/0123/other/0045.jpg") << 404 << QString();
    QTest::newRow("huge number") << QStringLiteral("/qevreal/img/0123/carphoto/99999999999.jpg") << 404
                                 << QString();
}

void TestAuctionWeb::pages() {
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QString, contains);
    QUrl url = m_server->BaseUrl();
    url.setPath(path);
    const Answer answer = Get(url);
    QCOMPARE(answer.status, status);
    QVERIFY(QString::fromUtf8(answer.body).contains(contains));
}

void TestAuctionWeb::buildCheckAnswerConfigurable() {
    QUrl url = m_server->BaseUrl();
    url.setPath(QStringLiteral("/checkbuild.php"));
    m_server->SetBuildCheckAnswer("120,1\r\n");
    QCOMPARE(Get(url).body, QByteArray("120,1\r\n"));
    m_server->SetBuildCheckAnswer("");
    const Answer empty = Get(url);
    QCOMPARE(empty.status, 200);
    QCOMPARE(empty.body, QByteArray());
}

void TestAuctionWeb::detailFileIsCatalogueLot_data() {
    QTest::addColumn<int>("exhibit");
    QTest::newRow("first") << 1;
    QTest::newRow("middle") << 45;
    QTest::newRow("lane B") << 10001;
    QTest::newRow("five digits") << 99999;
}

void TestAuctionWeb::detailFileIsCatalogueLot() {
    QFETCH(int, exhibit);
    const Answer answer = Get(DetailUrl(m_server->DetailBaseUrl(), 123, 0, exhibit));
    QCOMPARE(answer.status, 200);
    // The file is one scrambled text: Base64 characters only, no plain name=value lines.
    for (const char c : answer.body)
        QVERIFY(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=');
    QVERIFY(LineUnscramble(answer.body).contains("ExhNum="));

    const CatalogueLot lot = m_server->Catalogue().Lot(exhibit);
    const TLotRecord record = TLotRecord::FromScrambled(answer.body);
    QCOMPARE(record.ExhibitNumber(), exhibit);
    QCOMPARE(record.Value("ExhNum"), QByteArray::number(exhibit));
    QCOMPARE(record.StartPrice(), lot.startPriceYen / 1000);
    QCOMPARE(FromSjis(record.CarLine()), lot.modelYear + QStringLiteral("年 ") + lot.carName);
    QCOMPARE(FromSjis(record.Value("REAL_HYOKA")), lot.overallGrade);
    QCOMPARE(FromSjis(record.Value("REAL_GAISO")), lot.exteriorGrade);
    QCOMPARE(FromSjis(record.Value("REAL_NAISO")), lot.interiorGrade);
    QCOMPARE(FromSjis(record.ExhibitorCode()), lot.exhibitorCode);
    QCOMPARE(record.BidLocked(), lot.bidLocked);
    QCOMPARE(FromSjis(record.Correction()),
             QString(lot.correction).replace(QStringLiteral("　"), QStringLiteral("  ")).trimmed());
}

void TestAuctionWeb::catalogueIsDeterministic() {
    const CarCatalogue a(7);
    const CarCatalogue b(7);
    const CarCatalogue other(8);
    int differing = 0;
    for (int exhibit = 1; exhibit <= 200; ++exhibit) {
        const CatalogueLot x = a.Lot(exhibit);
        const CatalogueLot y = b.Lot(exhibit);
        QCOMPARE(x.carName, y.carName);
        QCOMPARE(x.startPriceYen, y.startPriceYen);
        QCOMPARE(x.colour, y.colour);
        QCOMPARE(x.damages.size(), y.damages.size());
        QVERIFY(x.startPriceYen >= 10000 && x.startPriceYen % 1000 == 0);
        QVERIFY(!x.carName.isEmpty() && !x.modelYear.isEmpty() && !x.overallGrade.isEmpty());
        // Everything must survive the trip through Shift-JIS.
        QStringEncoder sjis("windows-31j");
        QCOMPARE(FromSjis(sjis.encode(x.carName + x.correction + x.colourName)),
                 x.carName + x.correction + x.colourName);
        differing += other.Lot(exhibit).carName != x.carName ? 1 : 0;
    }
    QVERIFY(differing > 100);
    const QList<int> laneA = a.RunningOrder(0, 500);
    const QList<int> laneB = a.RunningOrder(1, 500);
    for (int exhibit : laneB)
        QVERIFY(!laneA.contains(exhibit));
}

void TestAuctionWeb::picturesAreRealJpegs() {
    const TJpegDecoder decoder;
    const Answer photo = Get(ImageUrl(m_server->ImageBaseUrl(), 123, QStringLiteral("carphoto"), 45));
    const Answer card = Get(ImageUrl(m_server->ImageBaseUrl(), 123, QStringLiteral("exhibitcard"), 45));
    QCOMPARE(photo.status, 200);
    QCOMPARE(photo.contentType, QByteArray("image/jpeg"));
    QCOMPARE(decoder.Decode(photo.body, {}).size(), QSize(640, 480));
    QCOMPARE(card.status, 200);
    QCOMPARE(decoder.Decode(card.body, {}).size(), QSize(512, 512));
    const Answer otherPhoto = Get(ImageUrl(m_server->ImageBaseUrl(), 123, QStringLiteral("carphoto"), 46));
    QVERIFY(otherPhoto.body != photo.body);
    // The same lot gives the same picture every time.
    QCOMPARE(Get(ImageUrl(m_server->ImageBaseUrl(), 123, QStringLiteral("carphoto"), 45)).body, photo.body);
}

void TestAuctionWeb::photoFollowsLotColour() {
    // Pixels of the body's colour outnumber those of the other colour by far.
    auto redOverBlue = [](const QImage& image) {
        int score = 0;
        for (int y = 200; y < 400; y += 4) {
            for (int x = 100; x < 540; x += 4) {
                const QColor c = image.pixelColor(x, y);
                score += (c.red() > 120 && c.blue() < 80) ? 1 : 0;
                score -= (c.blue() > 120 && c.red() < 80) ? 1 : 0;
            }
        }
        return score;
    };
    CatalogueLot lot = m_server->Catalogue().Lot(45);
    lot.colour = QColor(200, 20, 20);
    const int red = redOverBlue(CarPhotoPainter::Paint(lot));
    lot.colour = QColor(20, 20, 200);
    const int blue = redOverBlue(CarPhotoPainter::Paint(lot));
    QVERIFY2(red > 500, qPrintable(QString::number(red)));
    QVERIFY2(blue < -500, qPrintable(QString::number(blue)));
}

void TestAuctionWeb::faults_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("decodes");
    QTest::newRow("none") << int(WebFault::None) << 200 << true;
    QTest::newRow("not found") << int(WebFault::NotFound) << 404 << false;
    QTest::newRow("truncated") << int(WebFault::Truncated) << 200 << false;
    QTest::newRow("not a jpeg") << int(WebFault::NotJpeg) << 200 << false;
    QTest::newRow("redirected") << int(WebFault::RedirectChain) << 302 << false;
}

void TestAuctionWeb::faults() {
    QFETCH(int, fault);
    QFETCH(int, status);
    QFETCH(bool, decodes);
    m_server->SetFaults({{WebFault(fault), QStringLiteral("/carphoto/0045"), 1}});
    const QUrl url = ImageUrl(m_server->ImageBaseUrl(), 123, QStringLiteral("carphoto"), 45);
    const Answer first = Get(url);
    QCOMPARE(first.status, status);
    QCOMPARE(!TJpegDecoder().Decode(first.body, {}).isNull(), decodes);
    // The fault was for one request only.
    const Answer second = Get(url);
    QCOMPARE(second.status, 200);
    QVERIFY(!TJpegDecoder().Decode(second.body, {}).isNull());
}

void TestAuctionWeb::announcedLotLandsInCache() {
    ManualClock clock;
    ScopedClock installed(clock);
    QTemporaryDir cache;
    const int site = 123;
    const int lane = 0;
    const QList<int> lots = m_server->Catalogue().RunningOrder(lane, 3); // current, next, following
    TFetchDm fetch(cache.path());
    fetch.SetLaneIndex(lane);
    QList<int> detailsDone;
    int photosDone = 0;
    fetch.OnDetailDone = [&](TFetchDm*, int, int, int, int exhibit, int status, const QString&) {
        if (status == 200)
            detailsDone.append(exhibit);
    };
    fetch.OnPhotoDone = [&](TFetchDm*, int, int, int, int, int status, const QString&) {
        photosDone += status == 200 ? 1 : 0;
    };
    const QString ext = QStringLiteral(".jpg");
    for (int exhibit : lots)
        QVERIFY(fetch.QueueDetail(site, exhibit, 0, DetailUrl(m_server->DetailBaseUrl(), site, lane, exhibit),
                                  0));
    for (int exhibit : lots) {
        QVERIFY(fetch.QueuePhoto(
            site, exhibit, 1, ext,
            ImageUrl(m_server->ImageBaseUrl(), site, QStringLiteral("exhibitcard"), exhibit), 0));
        QVERIFY(fetch.QueuePhoto(
            site, exhibit, 0, ext,
            ImageUrl(m_server->ImageBaseUrl(), site, QStringLiteral("carphoto"), exhibit), 0));
    }
    QTRY_VERIFY_WITH_TIMEOUT(detailsDone.size() == 3 && photosDone == 6, kWait);
    QCOMPARE(detailsDone, lots);

    TPhotoSlotPool pool;
    TLotImageLoader loader(pool);
    for (int exhibit : lots) {
        const CatalogueLot lot = m_server->Catalogue().Lot(exhibit);
        const TLotRecord record = TLotRecord::FromFile(fetch.DetailFileName(site, exhibit, 0));
        QCOMPARE(record.ExhibitNumber(), exhibit);
        QCOMPARE(FromSjis(record.Value("REAL_CAR_NAME")), lot.carName);
        QCOMPARE(record.StartPrice(), lot.startPriceYen / 1000);
        QVERIFY(!fetch.QueueDetail(site, exhibit, 0,
                                   DetailUrl(m_server->DetailBaseUrl(), site, lane, exhibit), 0));

        loader.LoadLotImage(lane, TLotImageLoader::ExhibitCard, fetch.PhotoFileName(site, exhibit, ext, 1),
                            exhibit, site);
        TImageHolder& slot = loader.LoadLotImage(lane, TLotImageLoader::CarPhoto,
                                                 fetch.PhotoFileName(site, exhibit, ext, 0), exhibit, site);
        QVERIFY(slot.HasKey(site, exhibit, lane));
        QVERIFY(!slot.MainNeedsLoading());
        QVERIFY(!slot.LargeNeedsLoading());
    }
    // Nine downloads, each once.
    QCOMPARE(m_server->Requests().size(), 9);
}

QTEST_MAIN(TestAuctionWeb)
#include "tst_auctionweb.moc"
