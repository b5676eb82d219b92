#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <deque>

namespace qev {

class LaneRouter;

// Misbehaviour on purpose, for fault tests: every mode is bounded in time or count and works
// only while the router listens on loopback (each call returns false otherwise).
class RouterFaults final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxSpanMs = 60'000;
    static constexpr int kMaxDelayMs = 10'000;
    static constexpr int kMaxGarbageLines = 1000;
    static constexpr int kMaxOverLongLines = 16;
    static constexpr int kMaxOverLongBytes = 1024 * 1024;
    static constexpr int kMaxFloodPerSecond = 100'000;
    static constexpr qsizetype kMaxHeldLines = 500'000;

    explicit RouterFaults(LaneRouter& router);

    // Cuts every client off now and turns new ones away for refuseMs.
    bool DropConnections(int refuseMs);
    // Says nothing and reads nothing for ms: no greeting, lane lines are lost.
    bool Stall(int ms);
    // Holds every lane line for delayMs, for the next forMs.
    bool DelayLines(int delayMs, int forMs);
    // Sends count broken lines of several kinds to every client.
    bool SendGarbage(int count);
    // Sends count lines of `bytes` Base64 characters each, then CR.
    bool SendOverLong(int count, int bytes);
    // Sends perSecond price lines a second on the lot on the block, rising by 1 each, for forMs.
    bool FloodPrices(int perSecond, int forMs);
    // Ends every mode at once; held lines go out.
    void Clear();

    bool Refusing() const { return !m_refuseUntil.hasExpired(); }
    bool Stalled() const { return !m_stallUntil.hasExpired(); }
    bool Delaying() const { return !m_delayUntil.hasExpired(); }
    bool Flooding() const { return m_floodTimer.isActive(); }
    qint64 FloodSent() const { return m_floodSent; }
    qint64 LostLines() const { return m_lost; }
    qsizetype HeldLines() const { return static_cast<qsizetype>(m_held.size()); }

    // A lane line on its way out: sent now, held, or lost to a stall.
    void Route(const QByteArray& line);
    // Timer handlers.
    void OnStallEnd();
    void OnDelayTimer();
    void OnFloodTimer();

private:
    struct Held {
        QDeadlineTimer due;
        QByteArray line;
    };
    bool Allowed() const;
    void ScheduleHeld();
    QByteArray GarbageLine(int index);

    LaneRouter& m_router;
    QDeadlineTimer m_refuseUntil{0};
    QDeadlineTimer m_stallUntil{0};
    QDeadlineTimer m_delayUntil{0};
    int m_delayMs = 0;
    std::deque<Held> m_held;
    QTimer m_stallTimer;
    QTimer m_delayTimer;
    QTimer m_floodTimer;
    QElapsedTimer m_floodClock;
    int m_floodRate = 0;
    int m_floodSpanMs = 0;
    qint64 m_floodSent = 0;
    int m_floodSite = 0;
    int m_floodExhibit = 0;
    int m_floodBase = 0;
    qint64 m_lost = 0;
    QRandomGenerator m_rng{20161};
};

} // namespace qev
