#include "tools/auction-house/audio/audioclient.h"

namespace qev {

AudioClient::AudioClient(QTcpSocket* socket, QObject* parent)
    : QObject(parent)
    , m_socket(socket) {
    m_socket->setParent(this);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket, &QTcpSocket::readyRead, this, &AudioClient::read);
    connect(m_socket, &QTcpSocket::disconnected, this, &AudioClient::gone);
}

void AudioClient::read() {
    m_line += m_socket->readAll();
    qsizetype cr;
    while ((cr = m_line.indexOf('\r')) >= 0) {
        const QByteArray line = m_line.left(cr);
        m_line.remove(0, cr + 1);
        if (line.startsWith("NM:")) {
            // "NM:<site>,<lane>,<1|0>": the last field is the wish.
            m_wanted = line.endsWith(",1");
            emit subscription(line);
        }
    }
    if (m_line.size() > kMaxLine) {
        // Nothing a client says is that long: a broken or hostile peer.
        Close();
    }
}

void AudioClient::Send(const QByteArray& bytes) {
    if (m_socket->state() != QAbstractSocket::ConnectedState || m_socket->bytesToWrite() > kMaxBacklog)
        return;
    m_socket->write(bytes);
    ++m_framesSent;
}

void AudioClient::Close() {
    m_socket->abort();
}

} // namespace qev
