#include "tools/auction-house/web/auctionwebserver.h"

#include "session/codec/linecodec.h"
#include "tools/auction-house/web/carphotopainter.h"
#include "tools/auction-house/web/exhibitcardpainter.h"

#include <QBuffer>
#include <QHttpServerRequest>
#include <QImageWriter>
#include <QPointer>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <memory>

namespace qev {

namespace {

using Status = QHttpServerResponder::StatusCode;

const QByteArray kHtml = QByteArrayLiteral("text/html; charset=utf-8");

// A number in a path: digits only, at most nine of them.
std::optional<int> PathNumber(const QString& text, const QString& suffix = {}) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!text.endsWith(suffix))
        return std::nullopt;
    const QString number = text.first(text.size() - suffix.size());
    if (!digits.match(number).hasMatch())
        return std::nullopt;
    return number.toInt();
}

QByteArray LoginNotice() {
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>QEV</title>"
                          "<style>body{font-family:sans-serif;margin:12px;background:#f6f8fc}"
                          "h1{font-size:16px;color:#1e3c78}li{margin:4px 0}</style></head><body>"
                          "<h1>お知らせ</h1><ul>"
                          "<li>本日のオークションは 10:00 より A・B の 2 レーンで開催します。</li>"
                          "<li>落札確認はレーン画面の確認ボタンでお願いします。</li>"
                          "<li>ウォッチリストはアラーム設定から登録できます。</li>"
                          "</ul></body></html>")
        .toUtf8();
}

QByteArray SetupPage() {
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>QEV セットアップ</title></head>"
               "<body><h1>QEVリアル 最新版のダウンロード</h1>"
               "<p>最新のクライアントをダウンロードしてインストールしてください。</p>"
               "<p><a href=\"/setup/qevreal-setup.exe\">qevreal-setup.exe</a></p></body></html>")
        .toUtf8();
}

} // namespace

AuctionWebServer::AuctionWebServer(AuctionWebConfig config, QObject* parent)
    : QObject(parent)
    , m_config(std::move(config))
    , m_catalogue(m_config.catalogueSeed) {
    m_server.route(QStringLiteral("/qevreal/loginMSG.html"), [this](const QHttpServerRequest& request) {
        Record(request);
        return QHttpServerResponse(kHtml, LoginNotice());
    });
    m_server.route(QStringLiteral("/setup/"), [this](const QHttpServerRequest& request) {
        Record(request);
        return QHttpServerResponse(kHtml, SetupPage());
    });
    m_server.route(QStringLiteral("/checkbuild.php"), [this](const QHttpServerRequest& request) {
        Record(request);
        return QHttpServerResponse(QByteArrayLiteral("text/plain"), m_config.buildCheckAnswer);
    });
    m_server.route(m_config.detailPath + QStringLiteral("<arg>/<arg>/<arg>"),
                   [this](const QString& site, const QString& lane, const QString& file,
                          const QHttpServerRequest& request, QHttpServerResponder&& responder) {
                       ServeDetail(site, lane, file, request, std::move(responder));
                   });
    m_server.route(m_config.imagePath + QStringLiteral("<arg>/<arg>/<arg>"),
                   [this](const QString& site, const QString& folder, const QString& file,
                          const QHttpServerRequest& request, QHttpServerResponder&& responder) {
                       ServeImage(site, folder, file, request, std::move(responder));
                   });
    m_server.route(QStringLiteral("/hop/<arg>"), [this](int hops, const QHttpServerRequest& request) {
        Record(request);
        const QUrlQuery query(request.url());
        const QString target = query.queryItemValue(QStringLiteral("to"), QUrl::FullyDecoded);
        QUrl next = BaseUrl();
        if (hops > 1) {
            next.setPath(QStringLiteral("/hop/%1").arg(hops - 1));
            QUrlQuery nextQuery;
            nextQuery.addQueryItem(QStringLiteral("to"), target);
            next.setQuery(nextQuery);
        } else {
            next.setPath(target);
            next.setQuery(QStringLiteral("pass=1"));
        }
        QHttpServerResponse response(Status::Found);
        response.setHeader(QByteArrayLiteral("Location"), next.toEncoded());
        return response;
    });
    m_port = m_server.listen(m_config.address, m_config.port);
}

AuctionWebServer::~AuctionWebServer() = default;

QUrl AuctionWebServer::BaseUrl() const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(m_config.address.toString());
    url.setPort(m_port);
    url.setPath(QStringLiteral("/"));
    return url;
}

QUrl AuctionWebServer::DetailBaseUrl() const {
    QUrl url = BaseUrl();
    url.setPath(m_config.detailPath);
    return url;
}

QUrl AuctionWebServer::ImageBaseUrl() const {
    QUrl url = BaseUrl();
    url.setPath(m_config.imagePath);
    return url;
}

int AuctionWebServer::RequestCount(const QString& pathContains) const {
    int count = 0;
    for (const RequestRecord& r : m_requests)
        count += r.path.contains(pathContains) ? 1 : 0;
    return count;
}

void AuctionWebServer::Record(const QHttpServerRequest& request) {
    m_requests.append({request.url().path(), request.value(QByteArrayLiteral("User-Agent")),
                       request.value(QByteArrayLiteral("Accept"))});
}

WebFault AuctionWebServer::TakeFault(const QString& path) {
    for (WebFaultRule& rule : m_config.faults) {
        if (rule.times == 0 || !path.contains(rule.pathContains))
            continue;
        if (rule.times > 0)
            --rule.times;
        return rule.mode;
    }
    return WebFault::None;
}

QByteArray AuctionWebServer::DetailText(const CatalogueLot& lot) {
    QStringEncoder sjis("windows-31j");
    const QString text =
        QStringLiteral("REAL_EXHIBIT_NO=%1\r\n"
                       "REAL_NENSHIKI=%2\r\n"
                       "REAL_CAR_NAME=%3\r\n"
                       "REAL_HYOKA=%4\r\n"
                       "REAL_GAISO=%5\r\n"
                       "REAL_NAISO=%6\r\n"
                       "REAL_START_PRICE=%7\r\n"
                       "REAL_TEISEI=%8\r\n"
                       "REAL_SHUPPIN_TEN_CD=%9\r\n")
            .arg(lot.exhibit)
            .arg(lot.modelYear, lot.carName, lot.overallGrade, lot.exteriorGrade, lot.interiorGrade)
            .arg(lot.startPriceYen)
            .arg(lot.correction, lot.exhibitorCode) +
        QStringLiteral("!!セリフラグ=%1\r\nExhNum=%2\r\n").arg(lot.bidLocked ? 1 : 0).arg(lot.exhibit);
    return sjis.encode(text);
}

QByteArray AuctionWebServer::EncodeJpeg(const QImage& image) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("jpeg"));
    writer.setQuality(m_config.jpegQuality);
    writer.write(image);
    return bytes;
}

QByteArray AuctionWebServer::PhotoJpeg(int exhibit) {
    if (const QByteArray* cached = m_photos.object(exhibit))
        return *cached;
    const QByteArray bytes = EncodeJpeg(CarPhotoPainter::Paint(m_catalogue.Lot(exhibit), m_config.photoSize));
    m_photos.insert(exhibit, new QByteArray(bytes));
    return bytes;
}

QByteArray AuctionWebServer::CardJpeg(int exhibit) {
    if (const QByteArray* cached = m_cards.object(exhibit))
        return *cached;
    const QByteArray bytes =
        EncodeJpeg(ExhibitCardPainter::Paint(m_catalogue.Lot(exhibit), m_config.cardSize));
    m_cards.insert(exhibit, new QByteArray(bytes));
    return bytes;
}

void AuctionWebServer::ServeDetail(const QString& site, const QString& lane, const QString& file,
                                   const QHttpServerRequest& request, QHttpServerResponder&& responder) {
    Record(request);
    const auto siteNumber = PathNumber(site);
    const auto laneNumber = PathNumber(lane);
    const auto exhibit = PathNumber(file, QStringLiteral(".html"));
    if (!siteNumber || !laneNumber || !exhibit || *exhibit < 1) {
        responder.write(Status::NotFound);
        return;
    }
    const QByteArray body = LineScramble(DetailText(m_catalogue.Lot(*exhibit)));
    Answer(request.url().path(), request, std::move(responder), QByteArrayLiteral("text/html"), body);
}

void AuctionWebServer::ServeImage(const QString& site, const QString& folder, const QString& file,
                                  const QHttpServerRequest& request, QHttpServerResponder&& responder) {
    Record(request);
    const auto siteNumber = PathNumber(site);
    const auto exhibit = PathNumber(file, QStringLiteral(".jpg"));
    QByteArray body;
    if (siteNumber && exhibit && *exhibit >= 1 && folder == QLatin1String("carphoto"))
        body = PhotoJpeg(*exhibit);
    else if (siteNumber && exhibit && *exhibit >= 1 && folder == QLatin1String("exhibitcard"))
        body = CardJpeg(*exhibit);
    if (body.isEmpty()) {
        responder.write(Status::NotFound);
        return;
    }
    Answer(request.url().path(), request, std::move(responder), QByteArrayLiteral("image/jpeg"), body);
}

void AuctionWebServer::Answer(const QString& path, const QHttpServerRequest& request,
                              QHttpServerResponder&& responder, const QByteArray& mimeType, QByteArray body) {
    const bool passed = QUrlQuery(request.url()).hasQueryItem(QStringLiteral("pass"));
    const WebFault fault = passed ? WebFault::None : TakeFault(path);
    switch (fault) {
    case WebFault::None:
        break;
    case WebFault::NotFound:
        responder.write(Status::NotFound);
        return;
    case WebFault::Slow: {
        // The answer is written later, and only while the client is still connected.
        auto held = std::make_shared<QHttpServerResponder>(std::move(responder));
        QPointer<QTcpSocket> socket = held->socket();
        QTimer::singleShot(m_config.slowMs, this, [held, socket, mimeType, body] {
            if (socket && socket->state() == QAbstractSocket::ConnectedState)
                held->write(body, mimeType);
        });
        return;
    }
    case WebFault::RedirectChain: {
        QUrl next = BaseUrl();
        next.setPath(QStringLiteral("/hop/%1").arg(qMax(1, m_config.redirectHops)));
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("to"), path);
        next.setQuery(query);
        responder.write(QByteArray(), {{QByteArrayLiteral("Location"), next.toEncoded()}}, Status::Found);
        return;
    }
    case WebFault::Truncated:
        body.truncate(body.size() / 2);
        break;
    case WebFault::NotJpeg:
        responder.write(QByteArrayLiteral("<html><body>maintenance</body></html>"), kHtml);
        return;
    case WebFault::Oversized:
        body = QByteArray(m_config.oversizeBytes, 'Q');
        break;
    }
    responder.write(body, mimeType);
}

} // namespace qev
