#include "tools/auction-house/houseconfig.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qev {

namespace {

constexpr qint64 kMaxConfigBytes = 1 << 20;
constexpr int kMaxLanes = 4;
constexpr int kMaxWatches = 1000;
// Lane i's exhibits start at i * 10000 + 1, so a lane holds fewer than 10000 lots.
constexpr int kMaxExhibits = 9999;

bool ReadFlag(QByteArrayView text, char& flag) {
    if (text != "A" && text != "B")
        return false;
    flag = text[0];
    return true;
}

// A watch names a numeric member (alarm lists carry numbers only) and a lot of an existing lane.
bool ValidWatch(const HouseWatch& w) {
    bool numeric = false;
    const int member = w.member.toInt(&numeric);
    return numeric && member > 0 && w.lane >= 0 && w.lane < kMaxLanes && w.exhibit > 0;
}

bool ReadOutcome(const QJsonValue& v, HouseAccount& a) {
    if (v.isUndefined() || v.toString() == QLatin1String("ok")) {
        a.outcome = HouseAccount::Outcome::Accept;
        return true;
    }
    if (v.toString() == QLatin1String("silent")) {
        a.outcome = HouseAccount::Outcome::Silent;
        return true;
    }
    const int code = v.isDouble() ? v.toInt() : v.toString().toInt();
    if (code <= 0 || code == 100)
        return false;
    a.outcome = HouseAccount::Outcome::Refuse;
    a.refusalCode = code;
    return true;
}

QByteArray Bytes(const QJsonObject& o, const char* key, const QByteArray& def) {
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isString() ? v.toString().toUtf8() : def;
}

int Int(const QJsonObject& o, const char* key, int def) {
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isDouble() ? v.toInt() : def;
}

} // namespace

HouseConfig HouseConfig::Default() {
    HouseConfig c;
    c.webBase = QByteArrayLiteral("127.0.0.1:11180");
    for (const char* code : {"A", "B"}) {
        HouseLane lane;
        lane.code = code;
        c.lanes.append(lane);
    }
    c.lanes[1].timeFrom = QByteArrayLiteral("100000");
    HouseAccount demo;
    demo.id = QByteArrayLiteral("1001");
    demo.password = QByteArrayLiteral("demo");
    c.accounts.append(demo);
    for (int code : {101, 102, 103, 107, 111, 112, 199}) {
        HouseAccount refused;
        refused.id = QByteArray::number(1000 + code);
        refused.password = QByteArrayLiteral("demo");
        refused.outcome = HouseAccount::Outcome::Refuse;
        refused.refusalCode = code;
        c.accounts.append(refused);
    }
    HouseAccount notYet = c.accounts[3];
    notYet.id = QByteArrayLiteral("1113");
    notYet.refusalText = QByteArrayLiteral("Opens at 09:30");
    c.accounts.append(notYet);
    // The demo member watches a lot in each lane, so alarm rows and calls show up.
    c.watches.append({QByteArrayLiteral("1001"), 0, 6, 'A'});
    c.watches.append({QByteArrayLiteral("1001"), 1, 10004, 'B'});
    HouseAccount silent;
    silent.id = QByteArrayLiteral("1120");
    silent.password = QByteArrayLiteral("demo");
    silent.outcome = HouseAccount::Outcome::Silent;
    c.accounts.append(silent);
    return c;
}

std::optional<HouseConfig> HouseConfig::FromJson(const QByteArray& json, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject())
        return fail(parseError.errorString());
    const QJsonObject o = doc.object();
    HouseConfig c = Default();
    if (o.contains(QLatin1String("listen")) &&
        !c.listen.setAddress(o.value(QLatin1String("listen")).toString()))
        return fail(QStringLiteral("listen: not an address"));
    const auto port = [&o](const char* key, quint16 def) -> std::optional<quint16> {
        const int p = Int(o, key, def);
        if (p < 0 || p > 65535)
            return std::nullopt;
        return static_cast<quint16>(p);
    };
    const auto signIn = port("signInPort", c.signInPort);
    const auto data = port("dataPort", c.dataPort);
    const auto web = port("webPort", c.webPort);
    const auto audio = port("audioPort", c.audioPort);
    if (!signIn || !data || !web || !audio)
        return fail(QStringLiteral("ports lie between 0 and 65535"));
    c.signInPort = *signIn;
    c.dataPort = *data;
    c.webPort = *web;
    c.audioPort = *audio;
    if (o.contains(QLatin1String("pace"))) {
        const QString pace = o.value(QLatin1String("pace")).toString();
        if (pace != QLatin1String("live") && pace != QLatin1String("fast"))
            return fail(QStringLiteral("pace: live or fast"));
        c.fastPace = pace == QLatin1String("fast");
    }
    const QJsonValue seed = o.value(QLatin1String("seed"));
    if (seed.isDouble()) {
        if (seed.toDouble() < 0 || seed.toDouble() > 4294967295.0)
            return fail(QStringLiteral("seed: 0 to 4294967295"));
        c.seed = static_cast<quint32>(seed.toDouble());
    }
    c.audioCodec = Int(o, "audioCodec", c.audioCodec);
    if (c.audioCodec < 0 || c.audioCodec > 2)
        return fail(QStringLiteral("audioCodec: 0, 1 or 2"));
    c.siteNumber = Int(o, "siteNumber", c.siteNumber);
    c.sessionNumber = Int(o, "sessionNumber", c.sessionNumber);
    c.autoBidIntervalMs = Int(o, "autoBidIntervalMs", c.autoBidIntervalMs);
    c.priceJumpThreshold = Int(o, "priceJumpThreshold", c.priceJumpThreshold);
    c.priceJumpLockMs = Int(o, "priceJumpLockMs", c.priceJumpLockMs);
    c.maxPriceDelayMs = Int(o, "maxPriceDelayMs", c.maxPriceDelayMs);
    c.dataKeepAliveSeconds = qMax(1, Int(o, "dataKeepAliveSeconds", c.dataKeepAliveSeconds));
    c.audioAddress = Bytes(o, "audioAddress", c.audioAddress);
    c.audioSampleRate = Int(o, "audioSampleRate", c.audioSampleRate);
    c.webBase = Bytes(o, "webBase", c.webBase);

    if (o.contains(QLatin1String("lanes"))) {
        c.lanes.clear();
        for (const QJsonValue& v : o.value(QLatin1String("lanes")).toArray()) {
            const QJsonObject l = v.toObject();
            HouseLane lane;
            lane.code = Bytes(l, "code", QByteArray(1, static_cast<char>('A' + c.lanes.size() % 26)));
            lane.exhibits = Int(l, "exhibits", lane.exhibits);
            if (lane.exhibits < 0 || lane.exhibits > kMaxExhibits)
                return fail(QStringLiteral("lanes: exhibits from 0 to 9999"));
            lane.timeFrom = Bytes(l, "from", lane.timeFrom);
            lane.timeTo = Bytes(l, "to", lane.timeTo);
            lane.biddingRouter = Bytes(l, "biddingRouter", {});
            lane.watchRouter = Bytes(l, "watchRouter", {});
            c.lanes.append(lane);
        }
        if (c.lanes.isEmpty() || c.lanes.size() > kMaxLanes)
            return fail(QStringLiteral("lanes: one to four"));
    }
    if (o.contains(QLatin1String("watches"))) {
        c.watches.clear();
        const QJsonArray watches = o.value(QLatin1String("watches")).toArray();
        if (watches.size() > kMaxWatches)
            return fail(QStringLiteral("watches: at most 1000"));
        for (const QJsonValue& v : watches) {
            const QJsonObject w = v.toObject();
            HouseWatch watch;
            watch.member = Bytes(w, "member", {});
            watch.lane = Int(w, "lane", -1);
            watch.exhibit = Int(w, "exhibit", 0);
            const bool flagOk = ReadFlag(Bytes(w, "flag", QByteArrayLiteral("A")), watch.flag);
            if (!flagOk || !ValidWatch(watch) || watch.lane >= c.lanes.size())
                return fail(QStringLiteral("watches: each needs a numeric member, a lane of the house, an "
                                           "exhibit above 0, flag A or B"));
            c.watches.append(watch);
        }
    }
    if (o.contains(QLatin1String("accounts"))) {
        c.accounts.clear();
        for (const QJsonValue& v : o.value(QLatin1String("accounts")).toArray()) {
            const QJsonObject a = v.toObject();
            HouseAccount account;
            account.id = Bytes(a, "id", {});
            account.password = Bytes(a, "password", {});
            account.refusalText = Bytes(a, "refusalText", {});
            account.memberClass = Bytes(a, "memberClass", account.memberClass);
            if (account.id.isEmpty() || !ReadOutcome(a.value(QLatin1String("outcome")), account))
                return fail(
                    QStringLiteral("accounts: each needs an id and an outcome of ok, silent or a code"));
            c.accounts.append(account);
        }
    }
    return c;
}

std::optional<HouseConfig> HouseConfig::FromFile(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return std::nullopt;
    }
    if (f.size() > kMaxConfigBytes) {
        if (error)
            *error = QStringLiteral("configuration file too large");
        return std::nullopt;
    }
    return FromJson(f.readAll(), error);
}

const HouseAccount* HouseConfig::FindAccount(QByteArrayView id) const {
    for (const HouseAccount& a : accounts) {
        if (a.id == id)
            return &a;
    }
    return nullptr;
}

std::optional<HouseAccount> HouseConfig::ParseAccount(QByteArrayView text) {
    const QByteArrayList parts = text.toByteArray().split(':');
    if (parts.size() < 2 || parts.size() > 3 || parts[0].isEmpty())
        return std::nullopt;
    HouseAccount a;
    a.id = parts[0];
    a.password = parts[1];
    if (parts.size() == 3 && !ReadOutcome(QJsonValue(QString::fromLatin1(parts[2])), a))
        return std::nullopt;
    return a;
}

std::optional<HouseWatch> HouseConfig::ParseWatch(QByteArrayView text) {
    const QByteArrayList parts = text.toByteArray().split(':');
    if (parts.size() < 3 || parts.size() > 4)
        return std::nullopt;
    HouseWatch w;
    w.member = parts[0];
    bool laneOk = false;
    bool exhibitOk = false;
    w.lane = parts[1].toInt(&laneOk);
    w.exhibit = parts[2].toInt(&exhibitOk);
    if (!laneOk || !exhibitOk || !ValidWatch(w) || (parts.size() == 4 && !ReadFlag(parts[3], w.flag)))
        return std::nullopt;
    return w;
}

bool HouseConfig::SetLaneCount(int n) {
    if (n < 1 || n > kMaxLanes)
        return false;
    while (lanes.size() > n)
        lanes.removeLast();
    while (lanes.size() < n) {
        HouseLane lane;
        lane.code = QByteArray(1, static_cast<char>('A' + lanes.size()));
        lanes.append(lane);
    }
    return true;
}

} // namespace qev
