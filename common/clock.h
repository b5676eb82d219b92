#pragma once

#include <QDateTime>
#include <QtGlobal>

namespace qev {

// The one source of "now" for deadlines, keep-alives, watchdogs and the server clock.
// Tests install a ManualClock and move time instead of sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since the Unix epoch (UTC).
    virtual qint64 nowMs() const = 0;

    QDateTime now() const { return QDateTime::fromMSecsSinceEpoch(nowMs()); }

    // The clock in use; the system clock unless a test installed another.
    static const Clock& current();
    // Installs clock (not owned) as the current one; nullptr restores the system clock.
    static void install(const Clock* clock);
};

class SystemClock final : public Clock {
public:
    qint64 nowMs() const override;
};

class ManualClock final : public Clock {
public:
    explicit ManualClock(qint64 startMs = 1'700'000'000'000)
        : m_now(startMs) {}
    qint64 nowMs() const override { return m_now; }
    void setNowMs(qint64 ms) { m_now = ms; }
    void advance(qint64 ms) { m_now += ms; }

private:
    qint64 m_now;
};

// Installs a clock for the lifetime of the guard (tests).
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock) { Clock::install(&clock); }
    ~ScopedClock() { Clock::install(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

} // namespace qev
