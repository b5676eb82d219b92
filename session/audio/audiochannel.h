#pragma once

#include "session/audio/audioreceiver.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <functional>
#include <optional>

namespace qev {

class TSoundForm;

// The live audio channel (SockAR): opened by the session tick, subscribed when the server asks,
// closed by the silence watchdog (30 s without data, counted from the connect, so a server that
// accepts and stays silent is left too), by the connect limit and when the session goes offline;
// the next tick opens it again. Everything runs on the GUI
// thread; the receiving work is AudioReceiver's. The owner keeps the output alive longer than the
// channel, and calls: OpenIfDue in the tick while in session, CheckSilence in the tick,
// CloseAudioChannel on going offline, setAudioLaneIndex(0) at sign-in, SetServerSampleRate with
// the server information's rate.
class AudioChannel : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kSilenceLimitMs = 30'000;
    // A connection attempt (host lookup included) given up after this long.
    static constexpr qint64 kConnectLimitMs = 5'000;

    explicit AudioChannel(TSoundForm& output, QObject* parent = nullptr);
    ~AudioChannel() override;

    // Tick, while in session: opens the channel unless audio is disabled, the server gave no
    // host or port, or the channel is not closed.
    void OpenIfDue(const QString& host, const QString& port, bool audioDisabled);
    // The same with the server information's wire text.
    void OpenIfDue(const QByteArray& host, const QByteArray& port, bool audioDisabled) {
        OpenIfDue(QString::fromLatin1(host), QString::fromLatin1(port), audioDisabled);
    }
    // Tick: closes the channel after more than 30 s connected without a data event, or more than
    // 5 s trying to connect.
    void CheckSilence();
    // Starts connecting; a failure to start is ignored (the next tick tries again).
    void open(const QString& host, quint16 port);
    // CloseAudioChannel: forgets the last receipt and closes the socket; failures are ignored.
    void close();
    void CloseAudioChannel() { close(); }
    bool isClosed() const;
    bool isConnected() const;
    qint64 lastReceiptMs() const { return m_lastReceiptMs; }

    // Stores the wish and re-sends the subscription.
    void SetAudioWanted(bool wanted);
    bool audioWanted() const { return m_wanted; }
    // Resets the output and, when connected, sends "NM:<site>,<lane code>,<0|1>\r".
    void SendAudioRequest();
    // Attenuation in hundredths of a decibel for the live audio.
    void SetAudioVolume(int attenuation);
    // The server information's sample rate: current format := rate / 8 bits, and the output is
    // started with it when the rate is above 0 and it has not started yet.
    void SetServerSampleRate(int rate);

    int audioLaneIndex() const { return m_laneIndex; }
    void setAudioLaneIndex(int index) { m_laneIndex = index; }

    // Where the subscription line's site identifier and lane code come from (the session's
    // current site). A lane the site does not have is nullopt and goes out as "?".
    std::function<QByteArray()> SiteIdentifier;
    std::function<std::optional<QByteArray>(int laneIndex)> LaneCode;

    AudioReceiver& receiver() { return m_receiver; }
    QTcpSocket& socket() { return m_socket; }

    // The subscription line for the given values.
    static QByteArray SubscriptionLine(const QByteArray& site, const std::optional<QByteArray>& laneCode,
                                       bool wanted);

private:
    void SockARDataAvailable();
    void SockARSessionConnected();
    void SockARSessionClosed();

    TSoundForm& m_output;
    AudioReceiver m_receiver;
    QTcpSocket m_socket;
    qint64 m_lastReceiptMs = 0;
    qint64 m_openedMs = 0;
    qint64 m_heardMs = 0; // the connect, then every data event
    bool m_wanted = false;
    int m_laneIndex = 0;
};

} // namespace qev
