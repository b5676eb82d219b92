#pragma once

#include <QByteArray>
#include <QByteArrayList>

namespace qev {

// Bytes from one peer cut at CR. A peer that sends more than the limit without a CR is broken
// or hostile: Feed returns false and the server drops it.
class PeerLineBuffer {
public:
    explicit PeerLineBuffer(qsizetype limit = 65536)
        : m_limit(limit) {}

    bool Feed(QByteArrayView bytes, QByteArrayList& lines);

private:
    qsizetype m_limit;
    QByteArray m_data;
};

} // namespace qev
