#include "tools/auction-house/signinreplies.h"

#include "session/codec/linecodec.h"

#include <QDateTime>

namespace qev::SignInReplies {

namespace {

qint64 LocalWallMs(qint64 utcMs) {
    return utcMs + static_cast<qint64>(QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc()) * 1000;
}

} // namespace

QByteArray ServerTime(qint64 utcMs) {
    const double days = static_cast<double>(LocalWallMs(utcMs)) / 86400000.0 + 25569.0;
    return "TM:" + QByteArray::number(days, 'f', 8);
}

QByteArray SiteInformationText(const HouseConfig& config, qint64 utcMs) {
    QByteArray text;
    for (int l = 0; l < config.lanes.size(); ++l) {
        const QByteArray n = "0_" + QByteArray::number(l);
        text += "ExhibitCount" + n + '=' + QByteArray::number(config.lanes[l].exhibits) + "\r\n";
        text += "LaneTimeFrom" + n + '=' + config.lanes[l].timeFrom + "\r\n";
        text += "LaneTimeTo" + n + '=' + config.lanes[l].timeTo + "\r\n";
    }
    text += "AUTO_BID_INTERVAL=" + QByteArray::number(config.autoBidIntervalMs) + "\r\n";
    text += "SiteDate=" +
            QDateTime::fromMSecsSinceEpoch(utcMs).toString(QStringLiteral("yyyy/MM/dd")).toLatin1() + "\r\n";
    text += "Q_Name\r\nQ_OnCreate\r\nQ_Version\r\n";
    return text;
}

QByteArray SignedIn(const HouseConfig& config, const HouseAccount& account, qint64 utcMs) {
    return "ST:100,0," + LineCipher(SiteInformationText(config, utcMs)) + ',' + LineCipher("1") + ',' +
           LineCipher(account.memberClass) + ',' + QByteArray::number(config.sessionNumber);
}

QByteArray Refusal(const HouseAccount& account) {
    QByteArray line = "ST:" + QByteArray::number(account.refusalCode);
    if (account.refusalCode == 103)
        line += ',' + account.refusalText + ",,";
    return line;
}

QByteArray ClientParams(const HouseConfig& config) {
    return "CI:" + QByteArray::number(config.priceJumpThreshold) + ',' +
           QByteArray::number(config.priceJumpLockMs) + ',' + QByteArray::number(config.maxPriceDelayMs);
}

QByteArray Announcement(const HouseConfig& config) {
    return "AN:" + QByteArray::number(config.siteNumber) + ',' + QByteArray::number(config.lanes.size()) +
           '|';
}

QByteArray Appearance(const HouseConfig& config) {
    // Lane 0's opening time as HHMM, the way the lane state carries it.
    const QByteArray from = config.lanes.isEmpty() ? QByteArray("0") : config.lanes[0].timeFrom.left(4);
    return "AP:0,," + QByteArray::number(from.toInt()) + '|';
}

QByteArray ServerInformation(const HouseDirectory& d) {
    QByteArray line = "SV:" + LineCipher(d.dataAddress) + ',' + LineCipher("-") + ',' +
                      QByteArray::number(d.audioSampleRate) + ',' + LineCipher(d.audioAddress) + ',' +
                      LineCipher("-");
    for (int l = 0; l < d.lanes.size(); ++l) {
        const HouseDirectory::Lane& lane = d.lanes[l];
        line += '|' + QByteArray::number(l) + ',' + LineCipher(lane.biddingRouter) + ',' +
                LineCipher(lane.watchRouter) + ',' + LineCipher(lane.detailUrlBase) + ',' +
                LineCipher(lane.photoUrlBase) + ',' + LineCipher(lane.code) + ',' + LineCipher("-");
    }
    return line;
}

} // namespace qev::SignInReplies
