#include "tools/auction-house/houselog.h"

#include "common/clock.h"

#include <QDateTime>

namespace qev {

namespace {

// Control bytes are shown escaped so a hostile peer cannot forge log lines.
QByteArray Printable(QByteArrayView line) {
    QByteArray out;
    out.reserve(line.size());
    for (char c : line) {
        const auto u = static_cast<quint8>(c);
        if (u < 0x20 || u == 0x7f)
            out.append("\\x").append(QByteArray::number(u, 16).rightJustified(2, '0'));
        else
            out.append(c);
    }
    return out;
}

} // namespace

void HouseLog::Received(QByteArrayView server, int peer, QByteArrayView line) const {
    Write(server.toByteArray() + " #" + QByteArray::number(peer) + " <- " + Printable(line));
}

void HouseLog::Sent(QByteArrayView server, int peer, QByteArrayView line) const {
    Write(server.toByteArray() + " #" + QByteArray::number(peer) + " -> " + Printable(line));
}

void HouseLog::Note(QByteArrayView server, const QByteArray& text) const {
    Write(server.toByteArray() + ' ' + Printable(text));
}

void HouseLog::Write(const QByteArray& text) const {
    if (!Sink)
        return;
    const QByteArray stamp = Clock::current().now().toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
    Sink(stamp + ' ' + text);
}

} // namespace qev
