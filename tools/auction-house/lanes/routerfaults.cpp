#include "tools/auction-house/lanes/routerfaults.h"

#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/lanes/lanefeed.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/wirefields.h"

namespace qev {

namespace {
int Span(int ms) {
    return qBound(0, ms, RouterFaults::kMaxSpanMs);
}
} // namespace

RouterFaults::RouterFaults(LaneRouter& router)
    : QObject(&router)
    , m_router(router) {
    m_stallTimer.setSingleShot(true);
    m_delayTimer.setSingleShot(true);
    m_delayTimer.setTimerType(Qt::PreciseTimer);
    m_floodTimer.setInterval(1);
    m_floodTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_stallTimer, &QTimer::timeout, this, &RouterFaults::OnStallEnd);
    connect(&m_delayTimer, &QTimer::timeout, this, &RouterFaults::OnDelayTimer);
    connect(&m_floodTimer, &QTimer::timeout, this, &RouterFaults::OnFloodTimer);
}

bool RouterFaults::Allowed() const {
    return m_router.OnLoopback();
}

bool RouterFaults::DropConnections(int refuseMs) {
    if (!Allowed())
        return false;
    m_refuseUntil.setRemainingTime(Span(refuseMs));
    m_router.DropAll();
    return true;
}

bool RouterFaults::Stall(int ms) {
    if (!Allowed())
        return false;
    m_stallUntil.setRemainingTime(Span(ms));
    m_stallTimer.start(Span(ms));
    return true;
}

void RouterFaults::OnStallEnd() {
    if (Stalled()) {
        m_stallTimer.start(static_cast<int>(qMax<qint64>(1, m_stallUntil.remainingTime())));
        return;
    }
    m_router.Resume();
}

bool RouterFaults::DelayLines(int delayMs, int forMs) {
    if (!Allowed())
        return false;
    m_delayMs = qBound(0, delayMs, kMaxDelayMs);
    m_delayUntil.setRemainingTime(Span(forMs));
    return true;
}

void RouterFaults::Route(const QByteArray& line) {
    if (Stalled()) {
        ++m_lost;
        return;
    }
    // Once lines are held, later ones queue behind them so the order stays.
    if (Delaying() || !m_held.empty()) {
        if (static_cast<qsizetype>(m_held.size()) >= kMaxHeldLines) {
            ++m_lost;
            return;
        }
        m_held.push_back({QDeadlineTimer(Delaying() ? m_delayMs : 0, Qt::PreciseTimer), line});
        ScheduleHeld();
        return;
    }
    m_router.Deliver(line);
}

void RouterFaults::ScheduleHeld() {
    if (m_held.empty() || m_delayTimer.isActive())
        return;
    m_delayTimer.start(static_cast<int>(qMax<qint64>(0, m_held.front().due.remainingTime())));
}

void RouterFaults::OnDelayTimer() {
    while (!m_held.empty() && m_held.front().due.hasExpired()) {
        const QByteArray line = std::move(m_held.front().line);
        m_held.pop_front();
        if (Stalled())
            ++m_lost;
        else
            m_router.Deliver(line);
    }
    ScheduleHeld();
}

QByteArray RouterFaults::GarbageLine(int index) {
    switch (index % 5) {
    case 0: // not Base64 at all, and not a multiple of four long
        return QByteArrayLiteral("!!not*base64!!\r");
    case 1: // Base64 of text that is no message
        return LineScramble(QByteArrayLiteral("garbage without a code")) + '\r';
    case 2: // a message code nobody knows
        return LineScramble(QByteArray("ZZ:" + QByteArray::number(index))) + '\r';
    case 3: { // raw bytes, NUL and high bytes included, no CR inside; 4n+1 long, so never Base64
        QByteArray bytes(17 + 4 * static_cast<int>(m_rng.bounded(12u)), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(m_rng.bounded(256u));
            if (c == '\r')
                c = '\0';
        }
        return bytes + '\r';
    }
    default: // an empty piece
        return QByteArrayLiteral("\r");
    }
}

bool RouterFaults::SendGarbage(int count) {
    if (!Allowed())
        return false;
    const int lines = qBound(0, count, kMaxGarbageLines);
    for (int i = 0; i < lines; ++i)
        m_router.DeliverRaw(GarbageLine(i));
    return true;
}

bool RouterFaults::SendOverLong(int count, int bytes) {
    if (!Allowed())
        return false;
    const QByteArray line = QByteArray(qBound(1, bytes, kMaxOverLongBytes), 'A') + '\r';
    const int lines = qBound(0, count, kMaxOverLongLines);
    for (int i = 0; i < lines; ++i)
        m_router.DeliverRaw(line);
    return true;
}

bool RouterFaults::FloodPrices(int perSecond, int forMs) {
    if (!Allowed())
        return false;
    m_floodRate = qBound(1, perSecond, kMaxFloodPerSecond);
    m_floodSpanMs = Span(forMs);
    m_floodSent = 0;
    m_router.Feed().CurrentLot(m_floodSite, m_floodExhibit, m_floodBase);
    if (m_floodBase <= 0)
        m_floodBase = 1000;
    m_floodClock.start();
    m_floodTimer.start();
    return true;
}

void RouterFaults::OnFloodTimer() {
    const qint64 elapsed = qMin<qint64>(m_floodClock.elapsed(), m_floodSpanMs);
    const qint64 total = static_cast<qint64>(m_floodRate) * m_floodSpanMs / 1000;
    const qint64 due = qMin(total, static_cast<qint64>(m_floodRate) * elapsed / 1000);
    const QByteArray head =
        "PR:" + QByteArray::number(m_floodSite) + ',' + QByteArray::number(m_floodExhibit) + ',';
    while (m_floodSent < due) {
        ++m_floodSent;
        Route(head + QByteArray::number(m_floodBase + m_floodSent) + ",2,2,0000,," +
              WireDateTime(Clock::current().nowMs()));
    }
    if (m_floodSent >= total)
        m_floodTimer.stop();
}

void RouterFaults::Clear() {
    m_refuseUntil = QDeadlineTimer(0);
    m_stallUntil = QDeadlineTimer(0);
    m_delayUntil = QDeadlineTimer(0);
    m_floodTimer.stop();
    m_stallTimer.stop();
    m_delayTimer.stop();
    while (!m_held.empty()) {
        const QByteArray line = std::move(m_held.front().line);
        m_held.pop_front();
        m_router.Deliver(line);
    }
    m_router.Resume();
}

} // namespace qev
