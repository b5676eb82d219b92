#pragma once

#include <QByteArray>
#include <functional>

namespace qev {

// The house's dialogue log: every line received and sent, deciphered, one text line each, so a
// person can follow a session. Goes to the sink when one is set.
class HouseLog {
public:
    std::function<void(const QByteArray&)> Sink;

    void Received(QByteArrayView server, int peer, QByteArrayView line) const;
    void Sent(QByteArrayView server, int peer, QByteArrayView line) const;
    void Note(QByteArrayView server, const QByteArray& text) const;

private:
    void Write(const QByteArray& text) const;
};

} // namespace qev
