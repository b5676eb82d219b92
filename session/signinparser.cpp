#include "session/signinparser.h"

#include "common/texthelpers.h"
#include "session/codec/linecodec.h"

#include <algorithm>

namespace qev {

namespace {

void SplitHostPort(const QByteArray& hostPort, QByteArray& host, QByteArray& port) {
    QByteArray rest = hostPort;
    host = SplitHead(rest, ":");
    port = rest;
}

} // namespace

QByteArray TrimWireBlanks(QByteArrayView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && static_cast<quint8>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<quint8>(text[e - 1]) <= ' ')
        --e;
    return text.sliced(b, e - b).toByteArray();
}

QList<SignInLine> DecipherSignInPiece(QByteArrayView piece) {
    QList<SignInLine> out;
    QByteArray plain = LineDecipher(piece);
    while (!plain.isEmpty()) {
        const QByteArray line = TrimWireBlanks(SplitHead(plain, "\r"));
        if (line.isEmpty())
            break;
        if (line.size() >= 3 && line[2] == ':')
            out.append({line.left(2), line.mid(3)});
    }
    return out;
}

QList<QList<SignInLine>> SplitSignInReceipt(QByteArrayView bytes) {
    QList<QList<SignInLine>> out;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype cr = bytes.indexOf('\r', from);
        if (cr < 0 || cr == from)
            break;
        out.append(DecipherSignInPiece(bytes.sliced(from, cr - from)));
        from = cr + 1;
    }
    return out;
}

int IntegerOr(QByteArrayView field, int def) {
    bool ok = false;
    const int v = field.toInt(&ok, 10);
    return ok ? v : def;
}

std::optional<double> ParseDayCount(QByteArrayView text) {
    bool ok = false;
    const double v = TrimWireBlanks(text).toDouble(&ok);
    // Beyond a few thousand years the value is nonsense and would overflow millisecond maths.
    if (!ok || !(v > -1.0e6 && v < 1.0e6))
        return std::nullopt;
    return v;
}

StatusMessage ParseStatus(QByteArrayView payload) {
    QByteArray rest = payload.toByteArray();
    StatusMessage m;
    m.code = IntegerOr(SplitHead(rest, ","), 109);
    if (m.code == 103) {
        m.refusalText = SplitHead(rest, ",");
    } else if (m.code == 100) {
        SplitHead(rest, ",");
        m.siteInfoText = LineDecipher(SplitHead(rest, ","));
        SplitHead(rest, ",");
        m.memberClass = LineDecipher(SplitHead(rest, ","));
        if (m.memberClass.isEmpty())
            m.memberClass = QByteArrayLiteral("2");
        m.sessionNumber = IntegerOr(SplitHead(rest, ","), 0);
    }
    return m;
}

ClientParams ParseClientParams(QByteArrayView payload) {
    QByteArray rest = payload.toByteArray();
    ClientParams p;
    p.jumpThreshold = IntegerOr(SplitHead(rest, ","), 0);
    p.jumpLockMs = IntegerOr(SplitHead(rest, ","), 0);
    p.maxPriceDelayMs = IntegerOr(SplitHead(rest, ","), -1);
    return p;
}

SiteAnnouncement ParseSiteAnnouncement(QByteArrayView payload) {
    QByteArray rest = payload.toByteArray();
    QByteArray group = SplitHead(rest, "|");
    SiteAnnouncement a;
    if (group.isEmpty()) {
        a.firstGroupEmpty = true;
        return a;
    }
    a.siteNumber = IntegerOr(TrimWireBlanks(SplitHead(group, ",")), -1);
    a.laneCount = IntegerOr(TrimWireBlanks(SplitHead(group, ",")), 0);
    return a;
}

QList<int> ParseLaneAppearance(QByteArrayView payload) {
    QList<int> out;
    QByteArray rest = payload.toByteArray();
    for (;;) {
        QByteArray group = SplitHead(rest, "|");
        if (group.isEmpty())
            break;
        const int lane = IntegerOr(TrimWireBlanks(SplitHead(group, ",")), -1);
        SplitHead(group, ",");
        const int state = IntegerOr(TrimWireBlanks(SplitHead(group, ",")), 110000);
        if (lane == 0)
            out.append(state);
    }
    return out;
}

ServerInformation ParseServerInformation(QByteArrayView payload) {
    ServerInformation info;
    QByteArray rest = payload.toByteArray();
    QByteArray first = SplitHead(rest, "|");
    SplitHostPort(LineDecipher(SplitHead(first, ",")), info.dataHost, info.dataPort);
    SplitHead(first, ",");
    info.audioSampleRate = IntegerOr(SplitHead(first, ","), 0);
    SplitHostPort(LineDecipher(SplitHead(first, ",")), info.audioHost, info.audioPort);

    for (;;) {
        QByteArray group = TrimWireBlanks(SplitHead(rest, "|"));
        if (group.isEmpty())
            break;
        LaneServers lane;
        lane.lane = IntegerOr(TrimWireBlanks(SplitHead(group, ",")), -1);
        if (lane.lane < 0)
            continue;
        lane.biddingRouter = LineDecipher(SplitHead(group, ","));
        lane.watchRouter = LineDecipher(SplitHead(group, ","));
        lane.detailUrlBase = NormaliseUrlBase(LineDecipher(SplitHead(group, ",")));
        lane.photoUrlBase = NormaliseUrlBase(LineDecipher(SplitHead(group, ",")));
        lane.laneCode = LineDecipher(SplitHead(group, ","));
        info.lanes.append(lane);
    }
    return info;
}

QByteArray NormaliseUrlBase(QByteArray url) {
    // A secure address keeps its scheme; putting "http://" in front of it would make it unusable.
    if (!url.contains("http://") && !url.startsWith("https://"))
        url.prepend("http://");
    if (!url.endsWith('/'))
        url.append('/');
    return url;
}

QTime LaneTime(QByteArrayView value) {
    const QByteArray text = TrimWireBlanks(value);
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 10);
    if (!ok || v < 0)
        return QTime(0, 0);
    const QByteArray digits = QByteArray::number(v).rightJustified(6, '0');
    const int hour = digits.left(2).toInt();
    const int minute = digits.mid(2, 2).toInt();
    if (hour > 23 || minute > 59)
        return QTime(0, 0);
    return QTime(hour, minute);
}

QByteArrayList SiteInformationLines(QByteArrayView text) {
    QByteArrayList lines;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = from;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.append(text.sliced(from, end - from).toByteArray());
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        from = end + 1;
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const QByteArray& a, const QByteArray& b) { return qstricmp(a, b) < 0; });
    return lines;
}

QByteArray SiteInformationValue(const QByteArrayList& lines, QByteArrayView name) {
    for (const QByteArray& line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && QByteArrayView(line).first(eq).compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return {};
}

} // namespace qev
