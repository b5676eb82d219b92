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
    AttachLaneEvents(dm);
}

void SessionEventPrinter::AttachLaneEvents(TProcsDm& dm) {
    const auto lot = [this](const QString& name) {
        return [this, name](TProcsDm&, int lane, int site, int exhibit, int next, int after, int f5, int f6,
                            int f7, int f8) {
            Print({{QStringLiteral("event"), name},
                   {QStringLiteral("lane"), lane},
                   {QStringLiteral("siteNumber"), site},
                   {QStringLiteral("exhibit"), exhibit},
                   {QStringLiteral("next"), next},
                   {QStringLiteral("after"), after},
                   {QStringLiteral("fields"), QJsonArray{f5, f6, f7, f8}}});
        };
    };
    dm.OnLotEntered = lot(QStringLiteral("OnLotEntered"));
    dm.OnLotRefreshed = lot(QStringLiteral("OnLotRefreshed"));
    const auto prefetch = [this](const QString& name) {
        return [this, name](TProcsDm&, int lane, int site, int exhibit) {
            Print({{QStringLiteral("event"), name},
                   {QStringLiteral("lane"), lane},
                   {QStringLiteral("siteNumber"), site},
                   {QStringLiteral("exhibit"), exhibit}});
        };
    };
    dm.OnLotPrefetch = prefetch(QStringLiteral("OnLotPrefetch"));
    dm.OnLotPrefetchRefreshed = prefetch(QStringLiteral("OnLotPrefetchRefreshed"));
    dm.OnPriceChanged = [this](TProcsDm&, int lane, int site, int exhibit, int price, int lotFlags,
                               int bidderFlags, const QByteArray& top, const QByteArray& winner) {
        Print({{QStringLiteral("event"), QStringLiteral("OnPriceChanged")},
               {QStringLiteral("lane"), lane},
               {QStringLiteral("siteNumber"), site},
               {QStringLiteral("exhibit"), exhibit},
               {QStringLiteral("price"), price},
               {QStringLiteral("lotFlags"), lotFlags},
               {QStringLiteral("bidderFlags"), bidderFlags},
               {QStringLiteral("topBidder"), Text(top)},
               {QStringLiteral("winner"), Text(winner)}});
    };
    dm.OnLaneActiveChanged = [this](TProcsDm&, int lane, bool active) {
        Print({{QStringLiteral("event"), QStringLiteral("OnLaneActiveChanged")},
               {QStringLiteral("lane"), lane},
               {QStringLiteral("active"), active}});
    };
    const auto laneValue = [this](const QString& name, const QString& key) {
        return [this, name, key](TProcsDm&, int lane, int value) {
            Print({{QStringLiteral("event"), name}, {QStringLiteral("lane"), lane}, {key, value}});
        };
    };
    dm.OnAuctionStatus = laneValue(QStringLiteral("OnAuctionStatus"), QStringLiteral("status"));
    dm.OnVoiceCue = laneValue(QStringLiteral("OnVoiceCue"), QStringLiteral("cue"));
    dm.OnMemberFlags = [this](TProcsDm&, int lane, int site, int field2, int flags) {
        Print({{QStringLiteral("event"), QStringLiteral("OnMemberFlags")},
               {QStringLiteral("lane"), lane},
               {QStringLiteral("siteNumber"), site},
               {QStringLiteral("exhibit"), field2},
               {QStringLiteral("flags"), flags}});
    };
    dm.OnMemberCalled = prefetch(QStringLiteral("OnMemberCalled"));
    dm.OnLaneCountChanged = [this](TProcsDm&, int count) {
        Print({{QStringLiteral("event"), QStringLiteral("OnLaneCountChanged")},
               {QStringLiteral("laneCount"), count}});
    };
    dm.OnLotReset = [this](TProcsDm&, int lane) {
        Print({{QStringLiteral("event"), QStringLiteral("OnLotReset")}, {QStringLiteral("lane"), lane}});
    };
    dm.OnInformation = [this](TProcsDm&, const QByteArray& text) {
        Print({{QStringLiteral("event"), QStringLiteral("OnInformation")},
               {QStringLiteral("text"), Text(text)}});
    };
    dm.OnAlarmList = [this](TProcsDm&, int lane, const QList<AlarmItem>& items) {
        QJsonArray list;
        for (const AlarmItem& item : items)
            list.append(
                QJsonObject{{QStringLiteral("text"), Text(item.text)}, {QStringLiteral("mine"), item.mine}});
        Print({{QStringLiteral("event"), QStringLiteral("OnAlarmList")},
               {QStringLiteral("lane"), lane},
               {QStringLiteral("alarms"), list}});
    };
    dm.OnExhibitList = [this](TProcsDm&) {
        Print({{QStringLiteral("event"), QStringLiteral("OnExhibitList")}});
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
