#pragma once

#include "tools/auction-house/lanes/lanefeed.h"
#include "tools/auction-house/lanes/scenario.h"

#include <QElapsedTimer>
#include <QTimer>

namespace qev {

// Plays one lane of a scenario: the same lines at the same offsets every time. It answers no
// bids; the routers still record them.
class ScriptedFeed final : public LaneFeed {
    Q_OBJECT
public:
    ScriptedFeed(int lane, const Scenario& scenario, QObject* parent = nullptr);

    void Start();
    void Stop();
    // Sends every line due at or before elapsedMs from the start; returns how many it sent.
    int PlayUntil(qint64 elapsedMs);
    void OnTimer();
    bool Finished() const { return m_next >= m_entries.size(); }

    int Lane() const override { return m_lane; }
    QList<QByteArray> Snapshot() const override { return {}; }
    BidOutcome SubmitBid(const BidRequest& bid) override;
    bool IsWin(const QByteArray& member, int siteNumber, int exhibit, int price) const override;
    void CurrentLot(int& siteNumber, int& exhibit, int& price) const override;

private:
    void Track(const QByteArray& line);
    void ScheduleNext();

    int m_lane;
    QList<Scenario::Entry> m_entries;
    qsizetype m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_site = 0;
    int m_exhibit = 0;
    int m_price = 0;
};

} // namespace qev
