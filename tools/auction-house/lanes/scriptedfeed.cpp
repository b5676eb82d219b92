#include "tools/auction-house/lanes/scriptedfeed.h"

#include "common/clock.h"
#include "tools/auction-house/lanes/wirefields.h"

namespace qev {

ScriptedFeed::ScriptedFeed(int lane, const Scenario& scenario, QObject* parent)
    : LaneFeed(parent)
    , m_lane(lane)
    , m_entries(scenario.ForLane(lane)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ScriptedFeed::OnTimer);
}

void ScriptedFeed::Start() {
    m_next = 0;
    m_clock.start();
    ScheduleNext();
}

void ScriptedFeed::Stop() {
    m_timer.stop();
}

void ScriptedFeed::OnTimer() {
    PlayUntil(m_clock.elapsed());
    ScheduleNext();
}

void ScriptedFeed::ScheduleNext() {
    if (Finished() || !m_clock.isValid())
        return;
    const qint64 wait = m_entries.at(m_next).atMs - m_clock.elapsed();
    m_timer.start(static_cast<int>(qMax<qint64>(0, wait)));
}

int ScriptedFeed::PlayUntil(qint64 elapsedMs) {
    int sent = 0;
    while (!Finished() && m_entries.at(m_next).atMs <= elapsedMs) {
        QByteArray line = m_entries.at(m_next++).line;
        line.replace("{now}", WireDateTime(Clock::current().nowMs()));
        Track(line);
        ++sent;
        emit lineReady(line);
    }
    return sent;
}

void ScriptedFeed::Track(const QByteArray& line) {
    const QByteArrayView payload = QByteArrayView(line).sliced(3);
    if (line.startsWith("EN:")) {
        m_site = WireInt(payload, 1, 0);
        m_exhibit = WireInt(payload, 2, 0);
        m_price = 0;
    } else if (line.startsWith("PR:")) {
        m_site = WireInt(payload, 1, 0);
        m_exhibit = WireInt(payload, 2, 0);
        m_price = WireInt(payload, 3, 0);
    }
}

BidOutcome ScriptedFeed::SubmitBid(const BidRequest&) {
    return BidOutcome::NotAnswered;
}

bool ScriptedFeed::IsWin(const QByteArray&, int, int, int) const {
    return false;
}

void ScriptedFeed::CurrentLot(int& siteNumber, int& exhibit, int& price) const {
    siteNumber = m_site;
    exhibit = m_exhibit;
    price = m_price;
}

} // namespace qev
