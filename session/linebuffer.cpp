#include "session/linebuffer.h"

namespace qev {

bool LineBuffer::Append(QByteArrayView bytes) {
    if (m_head > 0) {
        m_data.remove(0, m_head);
        m_head = 0;
    }
    m_data.append(bytes);
    const qsizetype lastCr = m_data.lastIndexOf('\r');
    if (m_data.size() - (lastCr + 1) > m_limit) {
        m_data.clear();
        return false;
    }
    return true;
}

bool LineBuffer::TakeLine(QByteArray& line) {
    const qsizetype cr = m_data.indexOf('\r', m_head);
    if (cr < 0)
        return false;
    line = m_data.sliced(m_head, cr - m_head);
    m_head = cr + 1;
    if (m_head == m_data.size())
        Clear();
    return true;
}

QByteArray LineBuffer::TakeComplete() {
    const qsizetype lastCr = m_data.lastIndexOf('\r');
    if (lastCr < m_head)
        return {};
    QByteArray complete = m_data.sliced(m_head, lastCr + 1 - m_head);
    m_data.remove(0, lastCr + 1);
    m_head = 0;
    return complete;
}

} // namespace qev
