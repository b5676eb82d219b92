#include "tools/auction-house/lanes/clientlinereader.h"

#include "session/codec/linecodec.h"

namespace qev {

bool ClientLineReader::Feed(QByteArrayView bytes, QList<ClientMessage>& out) {
    if (m_broken)
        return false;
    m_buffer.append(bytes);
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = m_buffer.indexOf('\r', start);
        if (cr < 0)
            break;
        if (cr - start > m_maxPiece) {
            m_broken = true;
            m_buffer.clear();
            return false;
        }
        HandlePiece(QByteArrayView(m_buffer).sliced(start, cr - start), out);
        start = cr + 1;
    }
    m_buffer.remove(0, start);
    if (m_buffer.size() > m_maxPiece) {
        m_broken = true;
        m_buffer.clear();
        return false;
    }
    return true;
}

void ClientLineReader::HandlePiece(QByteArrayView piece, QList<ClientMessage>& out) {
    // A stray LF before the piece (CR LF line ends) is not part of the Base64 text.
    piece = piece.trimmed();
    if (piece.isEmpty())
        return;
    const QByteArray plain = LineUnscramble(piece);
    if (plain.isEmpty()) {
        ++m_skipped;
        return;
    }
    for (const QByteArray& raw : plain.split('\r')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.size() < 3 || line.at(2) != ':') {
            ++m_skipped;
            continue;
        }
        out.append({line.first(2), line.sliced(3)});
    }
}

} // namespace qev
