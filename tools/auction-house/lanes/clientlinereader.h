#pragma once

#include "tools/auction-house/lanes/clientmessage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace qev {

// Cuts the bytes a client sends into scrambled pieces at CR, unscrambles them and splits them
// into messages. Pieces that do not unscramble, and lines without ":" in third place, are
// skipped and counted. A client that sends more than the piece limit without a CR is broken
// or hostile: Feed reports it and the router closes the connection.
class ClientLineReader {
public:
    static constexpr qsizetype kDefaultMaxPiece = 8192;

    explicit ClientLineReader(qsizetype maxPiece = kDefaultMaxPiece)
        : m_maxPiece(maxPiece) {}

    // Appends bytes and adds every complete message to out; false once the limit was passed
    // (the buffer is dropped and every later call returns false).
    bool Feed(QByteArrayView bytes, QList<ClientMessage>& out);

    qsizetype Pending() const { return m_buffer.size(); }
    int Skipped() const { return m_skipped; }

private:
    void HandlePiece(QByteArrayView piece, QList<ClientMessage>& out);

    qsizetype m_maxPiece;
    QByteArray m_buffer;
    int m_skipped = 0;
    bool m_broken = false;
};

} // namespace qev
