#include "common/clock.h"
#include "common/pumpwait.h"
#include "common/texthelpers.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "session/signinparser.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace qev {

namespace {

bool IsDottedIpv4(const QByteArray& host) {
    QHostAddress address;
    return address.setAddress(QString::fromLatin1(host)) &&
           address.protocol() == QAbstractSocket::IPv4Protocol;
}

// Resolves host while handling other events; empty when it has no IPv4 address.
QList<QHostAddress> LookUp(const QByteArray& host, QObject* context) {
    auto done = std::make_shared<bool>(false);
    auto found = std::make_shared<QList<QHostAddress>>();
    QHostInfo::lookupHost(QString::fromLatin1(host), context, [done, found](const QHostInfo& info) {
        for (const QHostAddress& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol)
                found->append(a);
        }
        *done = true;
    });
    PumpWait([done] { return *done; });
    return *found;
}

} // namespace

bool TProcsDm::SignIn(QByteArrayView hostPort, const QByteArray& cipheredId,
                      const QByteArray& cipheredPassword) {
    const qsizetype colon = hostPort.indexOf(':');
    QByteArray host = (colon < 0 ? hostPort : hostPort.first(colon)).trimmed().toByteArray();
    const QByteArray port = colon < 0 ? QByteArray() : hostPort.sliced(colon + 1).trimmed().toByteArray();
    if (m_state != ssOffline || SockSI->state() != QAbstractSocket::UnconnectedState || host.isEmpty() ||
        port.isEmpty())
        return false;

    m_currentSiteNumber = 0;
    m_maxPriceBacklog = 0; // one session's flood says nothing about the next
    m_currentSiteName.clear();
    m_audio->setAudioLaneIndex(0);
    m_currentSite = m_placeholder.get();
    m_sites.clear();

    m_cipheredId = cipheredId;
    m_cipheredPassword = cipheredPassword;
    m_signOutSent = false;
    const std::weak_ptr<int> life = m_life;
    SetState(ssSigningIn);
    if (life.expired() || m_state != ssSigningIn)
        return false;

    if (!IsDottedIpv4(host)) {
        // The context object cancels the answer if the module goes away during the wait.
        auto context = std::make_unique<QObject>();
        const QList<QHostAddress> addresses = LookUp(host, context.get());
        if (life.expired())
            return false;
        host = addresses.isEmpty()
                   ? QByteArray()
                   : addresses.at(RandomInRange(0, static_cast<int>(addresses.size()))).toString().toLatin1();
        // Events ran during the lookup; a sign-in cancelled meanwhile stays cancelled.
        if (m_state != ssSigningIn)
            return false;
    }
    if (host.isEmpty()) {
        Notice(-1, kNoticeNoAddress);
        if (life.expired())
            return false;
        CloseAll();
        return false;
    }
    m_signInHost = host;
    m_signInPort = port;
    m_deadlineMs = Clock::current().nowMs() + m_deadlineSeconds * 1000LL;
    ConnectSignIn();
    return true;
}

void TProcsDm::ConnectSignIn() {
    TimeSingIn->stop();
    if (m_state != ssSigningIn && m_state != ssSigningOut)
        return;
    if (Clock::current().nowMs() > m_deadlineMs) {
        const std::weak_ptr<int> life = m_life;
        CloseAll();
        if (!life.expired() && !m_programClosing)
            Notice(-1, kNoticeDeadline);
        return;
    }
    TimeSingIn->start();
    if (SockSI->state() == QAbstractSocket::UnconnectedState) {
        bool ok = false;
        const quint16 port = m_signInPort.toUShort(&ok, 10);
        if (!ok)
            return; // a connection that cannot start is retried until the deadline
        m_signInBuffer.Clear();
        SockSI->connectToHost(QString::fromLatin1(m_signInHost), port);
    }
}

bool TProcsDm::SignOut() {
    if (m_state != ssInSession)
        return false;
    StopLaneConnectTimers();
    m_signOutSent = false;
    const std::weak_ptr<int> life = m_life;
    SetState(ssSigningOut);
    if (life.expired() || m_state != ssSigningOut)
        return true;
    m_deadlineMs = Clock::current().nowMs() + m_deadlineSeconds * 1000LL;
    ConnectSignIn();
    return true;
}

void TProcsDm::Shutdown() {
    // Lanes the client closes itself are never reconnected; they are freed at the end.
    MarkLanesClosingByClient();
    m_programClosing = true;
    m_deadlineSeconds = 5;
    const std::weak_ptr<int> life = m_life;
    bool wait = m_state == ssSigningOut;
    if (wait) {
        // A sign-out already under way is seen through, within the shutdown's own limit.
        m_deadlineMs = std::min(m_deadlineMs, Clock::current().nowMs() + m_deadlineSeconds * 1000LL);
    } else {
        wait = SignOut();
        if (life.expired())
            return;
    }
    if (wait) {
        // The sign-out deadline ends the wait through the retry timer; the real-time bound only
        // guards against a clock that never moves.
        PumpWait([this, life] { return life.expired() || m_state == ssOffline; },
                 (m_deadlineSeconds + 5) * 1000);
        if (life.expired())
            return;
    }
    FreeLaneChannels();
}

bool TProcsDm::SendSignInLine(const QByteArray& line) {
    if (SockSI->state() != QAbstractSocket::ConnectedState)
        return false;
    return SockSI->write(LineCipher(line) + '\r') >= 0;
}

void TProcsDm::SockSIDataAvailable() {
    ReceiveSignIn(SockSI->readAll());
}

void TProcsDm::ReceiveSignIn(const QByteArray& bytes) {
    // After the sign-out line the channel has nothing more to say to this session.
    if (m_signOutPause)
        return;
    m_signInBuffer.Append(bytes); // an overlong partial line is dropped with the buffer
    const QByteArray complete = m_signInBuffer.TakeComplete();
    if (complete.isEmpty())
        return;
    const std::weak_ptr<int> life = m_life;
    const quint64 closes = m_sessionCloses;
    for (const QList<SignInLine>& piece : SplitSignInReceipt(complete)) {
        for (const SignInLine& line : piece) {
            const bool more = HandleSignInMessage(line);
            if (life.expired() || SessionClosedSince(closes))
                return;
            if (!more)
                break;
        }
    }
}

} // namespace qev
