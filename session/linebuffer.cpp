#include "session/linebuffer.h"

namespace qev {

bool LineBuffer::Append(QByteArrayView bytes) {
    m_data.append(bytes);
    const qsizetype lastCr = m_data.lastIndexOf('\r');
    if (m_data.size() - (lastCr + 1) > m_limit) {
        m_data.clear();
        return false;
    }
    return true;
}

bool LineBuffer::TakeLine(QByteArray& line) {
    const qsizetype cr = m_data.indexOf('\r');
    if (cr < 0)
        return false;
    line = m_data.left(cr);
    m_data.remove(0, cr + 1);
    return true;
}

QByteArray LineBuffer::TakeComplete() {
    const qsizetype lastCr = m_data.lastIndexOf('\r');
    if (lastCr < 0)
        return {};
    QByteArray complete = m_data.left(lastCr + 1);
    m_data.remove(0, lastCr + 1);
    return complete;
}

} // namespace qev
