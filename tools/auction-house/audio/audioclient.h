#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>

namespace qev {

// One connection to the audio server: reads the client's subscription lines (bounded) and
// takes frames while the member wants audio and the client keeps up.
class AudioClient final : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxLine = 512;
    static constexpr qint64 kMaxBacklog = 256 * 1024;

    AudioClient(QTcpSocket* socket, QObject* parent);

    bool wantsAudio() const { return m_wanted; }
    // Sends bytes unless the client lags so far behind that they would only pile up.
    void Send(const QByteArray& bytes);
    void Close();
    QTcpSocket* socket() const { return m_socket; }
    int framesSent() const { return m_framesSent; }

signals:
    void subscription(const QByteArray& line);
    void gone();

private:
    void read();

    QTcpSocket* m_socket;
    QByteArray m_line;
    bool m_wanted = false;
    int m_framesSent = 0;
};

} // namespace qev
