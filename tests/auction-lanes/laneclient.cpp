#include "laneclient.h"

#include "session/codec/linecodec.h"

#include <QTest>

namespace qev {

LaneClient::LaneClient() {
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] { Pump(); });
}

bool LaneClient::Connect(quint16 port, int timeoutMs) {
    m_socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    return m_socket.waitForConnected(timeoutMs);
}

bool LaneClient::WaitClosed(int timeoutMs) {
    return QTest::qWaitFor([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                           timeoutMs);
}

void LaneClient::SendLine(const QByteArray& plain) {
    SendRaw(LineScramble(plain) + '\r');
}

void LaneClient::SendRaw(const QByteArray& bytes) {
    m_socket.write(bytes);
    m_socket.flush();
}

void LaneClient::Identify(const QByteArray& member) {
    SendLine("NM:" + LineCipher(member) + ",1.0.0.1," + LineCipher("DEALER-PC") + ',' +
             MachineToken("1A2B3C4D") + ",77");
}

void LaneClient::SendBid(const QByteArray& member, int site, int exhibit, int price) {
    SendLine("BD:" + QByteArray::number(site) + ',' + QByteArray::number(exhibit) + ',' + LineCipher(member) +
             ',' + QByteArray::number(price) + ",1.0.0.1");
}

void LaneClient::Pump() {
    m_buffer += m_socket.readAll();
    qsizetype start = 0;
    for (qsizetype cr = m_buffer.indexOf('\r'); cr >= 0; cr = m_buffer.indexOf('\r', start)) {
        const QByteArray piece = m_buffer.sliced(start, cr - start);
        start = cr + 1;
        pieces.append(piece);
        const QByteArray plain = LineUnscramble(piece);
        if (!plain.isEmpty())
            lines.append(plain);
    }
    m_buffer.remove(0, start);
}

QByteArray LaneClient::WaitLine(const std::function<bool(const QByteArray&)>& match, int timeoutMs) {
    QByteArray found;
    auto scan = [&] {
        Pump();
        while (m_seen < lines.size()) {
            const QByteArray& line = lines.at(m_seen++);
            if (match(line)) {
                found = line;
                return true;
            }
        }
        return false;
    };
    (void)QTest::qWaitFor(scan, timeoutMs);
    return found;
}

QByteArray LaneClient::WaitCode(const char* code, int timeoutMs) {
    return WaitLine([code](const QByteArray& line) { return line.startsWith(code); }, timeoutMs);
}

} // namespace qev
