#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "session/signinparser.h"

#include <QTcpSocket>
#include <QTimer>

namespace qev {

void TProcsDm::OpenDataChannel() {
    m_lastDataReceiptMs = 0;
    m_dataBuffer.Clear();
    bool ok = false;
    const quint16 port = m_dataPort.toUShort(&ok, 10);
    if (!ok || m_dataHost.isEmpty())
        return; // retried by the next tick
    SockDT->connectToHost(QString::fromLatin1(m_dataHost), port);
}

void TProcsDm::SockDTDataAvailable() {
    ReceiveData(SockDT->readAll());
}

void TProcsDm::ReceiveData(const QByteArray& bytes) {
    m_dataBuffer.Append(bytes); // an overlong partial line is dropped with the buffer
    const std::weak_ptr<int> life = m_life;
    const quint64 closes = m_sessionCloses;
    QByteArray piece;
    while (m_dataBuffer.TakeLine(piece)) {
        const QByteArray plain = LineUnscramble(piece);
        for (const QByteArray& raw : plain.split('\r')) {
            const QByteArray line = TrimWireBlanks(raw);
            if (line.size() < 3 || line[2] != ':')
                continue;
            HandleDataLine(line);
            if (life.expired() || SessionClosedSince(closes))
                return;
        }
    }
    m_lastDataReceiptMs = Clock::current().nowMs();
}

void TProcsDm::HandleDataLine(const QByteArray& line) {
    if (line.startsWith("KA:")) {
        if (SockDT->state() == QAbstractSocket::ConnectedState)
            SockDT->write(QByteArrayLiteral("KR:\r"));
        return;
    }
    HandleDataMessage(line);
}

} // namespace qev
