#include "tools/qev-tool/sessioneventprinter.h"

#include "session/procsdm.h"

#include <QFileDevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>

namespace qev {

namespace {

// Wire text is Shift-JIS; JSON wants Unicode.
QString Text(const QByteArray& bytes) {
    QStringDecoder decode("windows-31j");
    QString text = decode(bytes);
    return decode.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

void SessionEventPrinter::Attach(TProcsDm& dm) {
    dm.OnSessionStateChanged = [this](TProcsDm&, TSessionState o, TSessionState n) {
        Print({{QStringLiteral("event"), QStringLiteral("OnSessionStateChanged")},
               {QStringLiteral("old"), int(o)},
               {QStringLiteral("new"), int(n)}});
    };
    dm.OnSessionNotice = [this](TProcsDm&, int lane, int code) {
        Print({{QStringLiteral("event"), QStringLiteral("OnSessionNotice")},
               {QStringLiteral("lane"), lane},
               {QStringLiteral("code"), code}});
    };
    dm.OnLaneStatusChanged = [this](TProcsDm&, int lane, TConnectionStatus o, TConnectionStatus n) {
        Print({{QStringLiteral("event"), QStringLiteral("OnLaneStatusChanged")},
               {QStringLiteral("lane"), lane},
               {QStringLiteral("old"), int(o)},
               {QStringLiteral("new"), int(n)}});
    };
    dm.OnLaneStateChanged = [this](TProcsDm&) {
        Print({{QStringLiteral("event"), QStringLiteral("OnLaneStateChanged")}});
    };
    dm.OnSiteStateChanged = [this](TProcsDm&, TSiteInfo& site) {
        Print({{QStringLiteral("event"), QStringLiteral("OnSiteStateChanged")},
               {QStringLiteral("siteNumber"), site.SiteNumber()},
               {QStringLiteral("siteState"), int(site.SiteState())}});
    };
}

void SessionEventPrinter::PrintSiteInformation(TProcsDm& dm) {
    QJsonArray lines;
    for (const QByteArray& line : dm.SiteInformation())
        lines.append(Text(line));
    QJsonArray lanes;
    if (!dm.Sites().empty()) {
        const TSiteInfo& site = *dm.Sites().front();
        for (int l = 0; l < site.LaneCount(); ++l) {
            lanes.append(QJsonObject{
                {QStringLiteral("lane"), l},
                {QStringLiteral("code"), Text(site.LaneCode(l))},
                {QStringLiteral("biddingRouter"), Text(site.BiddingRouter(l))},
                {QStringLiteral("watchRouter"), Text(site.WatchRouter(l))},
                {QStringLiteral("detailUrlBase"), Text(site.DetailUrlBase(l))},
                {QStringLiteral("photoUrlBase"), Text(site.PhotoUrlBase(l))},
                {QStringLiteral("opening"), site.OpeningTime(l).toString(QStringLiteral("hh:mm"))},
                {QStringLiteral("closing"), site.ClosingTime(l).toString(QStringLiteral("hh:mm"))},
                {QStringLiteral("exhibitCount"), site.ExhibitCount(l)},
                {QStringLiteral("laneState"), site.LaneState(l)},
            });
        }
    }
    const bool hasSite = !dm.Sites().empty();
    Print({{QStringLiteral("siteInformation"),
            QJsonObject{
                {QStringLiteral("site"), Text(dm.FirstSiteName())},
                {QStringLiteral("siteNumber"), hasSite ? dm.Sites().front()->SiteNumber() : -1},
                {QStringLiteral("memberClass"), Text(dm.MemberClass())},
                {QStringLiteral("sessionNumber"), dm.SessionNumber()},
                {QStringLiteral("clockOffsetMs"), double(dm.ClockOffsetMs())},
                {QStringLiteral("data"), Text(dm.DataHost() + ':' + dm.DataPort())},
                {QStringLiteral("audio"), Text(dm.AudioHost() + ':' + dm.AudioPort())},
                {QStringLiteral("lines"), lines},
                {QStringLiteral("lanes"), lanes},
            }}});
}

void SessionEventPrinter::Print(const QJsonObject& object) {
    m_out.write(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
    if (auto* file = qobject_cast<QFileDevice*>(&m_out))
        file->flush(); // a reader follows the session line by line
}

} // namespace qev
