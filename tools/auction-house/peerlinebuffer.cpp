#include "tools/auction-house/peerlinebuffer.h"

namespace qev {

bool PeerLineBuffer::Feed(QByteArrayView bytes, QByteArrayList& lines) {
    m_data.append(bytes);
    qsizetype from = 0;
    for (qsizetype cr = m_data.indexOf('\r'); cr >= 0; cr = m_data.indexOf('\r', from)) {
        lines.append(m_data.mid(from, cr - from));
        from = cr + 1;
    }
    m_data.remove(0, from);
    if (m_data.size() > m_limit) {
        m_data.clear();
        return false;
    }
    return true;
}

} // namespace qev
