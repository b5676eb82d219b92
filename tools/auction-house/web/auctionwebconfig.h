#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QSize>
#include <QString>

namespace qev {

// Ways the web server misbehaves on purpose, for the client's fault tests.
enum class WebFault {
    None,
    NotFound,      // 404
    Slow,          // the answer comes after slowMs
    RedirectChain, // redirectHops redirections before the file
    Truncated,     // only the first half of the file
    NotJpeg,       // an HTML page with status 200 instead of the file
    Oversized,     // oversizeBytes of filler with status 200
};

struct WebFaultRule {
    WebFault mode = WebFault::None;
    QString pathContains; // applies to lot files whose path holds this text (empty: all)
    int times = -1;       // how many requests get it; -1 without end
};

struct AuctionWebConfig {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 0; // 0: a free port
    quint32 catalogueSeed = 2016;
    // Folders of the detail files and pictures (what the site information announces as bases).
    QString detailPath = QStringLiteral("/qevreal/shtml/");
    QString imagePath = QStringLiteral("/qevreal/img/");
    QByteArray buildCheckAnswer = QByteArrayLiteral("1,0");
    QSize photoSize{640, 480};
    // The client copies a card into its 512 × 512 picture unscaled from the top-left corner.
    QSize cardSize{512, 512};
    int jpegQuality = 85;
    int slowMs = 3000;
    int redirectHops = 3;
    qint64 oversizeBytes = 17 * 1024 * 1024;
    QList<WebFaultRule> faults;
};

} // namespace qev
