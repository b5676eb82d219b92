#pragma once

#include "tools/auction-house/catalogue/carcatalogue.h"
#include "tools/auction-house/web/auctionwebconfig.h"

#include <QByteArray>
#include <QCache>
#include <QHttpServer>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QList>
#include <QObject>
#include <QUrl>
#include <optional>

namespace qev {

// The auction house's web server on loopback: lot detail files (scrambled Shift-JIS), car
// photos and exhibit cards drawn from the catalogue, the login notice, the download page and
// the build check. Drawing text needs a QGuiApplication.
class AuctionWebServer : public QObject {
    Q_OBJECT
public:
    struct RequestRecord {
        QString path;
        QByteArray userAgent;
        QByteArray accept;
    };

    explicit AuctionWebServer(AuctionWebConfig config, QObject* parent = nullptr);
    ~AuctionWebServer() override;

    bool IsListening() const { return m_port != 0; }
    quint16 Port() const { return m_port; }
    // http://host:port/ and the two lot file bases under it.
    QUrl BaseUrl() const;
    QUrl DetailBaseUrl() const;
    QUrl ImageBaseUrl() const;

    void SetBuildCheckAnswer(const QByteArray& answer) { m_config.buildCheckAnswer = answer; }
    void SetFaults(const QList<WebFaultRule>& faults) { m_config.faults = faults; }
    const CarCatalogue& Catalogue() const { return m_catalogue; }

    // Every request seen, in order.
    const QList<RequestRecord>& Requests() const { return m_requests; }
    int RequestCount(const QString& pathContains) const;

    // The plain (unscrambled) Shift-JIS text of a lot's detail file.
    static QByteArray DetailText(const CatalogueLot& lot);
    QByteArray PhotoJpeg(int exhibit);
    QByteArray CardJpeg(int exhibit);

private:
    void ServeDetail(const QString& site, const QString& lane, const QString& file,
                     const QHttpServerRequest& request, QHttpServerResponder&& responder);
    void ServeImage(const QString& site, const QString& folder, const QString& file,
                    const QHttpServerRequest& request, QHttpServerResponder&& responder);
    void Answer(const QString& path, const QHttpServerRequest& request, QHttpServerResponder&& responder,
                const QByteArray& mimeType, QByteArray body);
    WebFault TakeFault(const QString& path);
    void Record(const QHttpServerRequest& request);
    QByteArray EncodeJpeg(const QImage& image) const;

    AuctionWebConfig m_config;
    CarCatalogue m_catalogue;
    QHttpServer m_server;
    quint16 m_port = 0;
    QList<RequestRecord> m_requests;
    QCache<int, QByteArray> m_photos{64};
    QCache<int, QByteArray> m_cards{64};
};

} // namespace qev
