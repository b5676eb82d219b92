#pragma once

#include <QByteArray>
#include <QTime>
#include <vector>

namespace qev {

// What the client knows about one auction site: its number, its lanes, their routers, web
// locations, times, exhibits and lane states. Per-lane getters answer neutral values for a lane
// outside the site and setters ignore it, so callers never range-check.
class TSiteInfo {
public:
    static constexpr int kMaxLanes = 4;

    explicit TSiteInfo(QByteArray name = {}, int siteNumber = 0);

    const QByteArray& Name() const { return m_name; }
    int SiteNumber() const { return m_siteNumber; }
    int LaneCount() const { return static_cast<int>(m_lanes.size()); }

    quint8 SiteState() const { return m_siteState; }
    void SetSiteState(quint8 state) { m_siteState = state; }
    // Recomputes the site state from the lane states: 2 running, 4 all ended, 3 all waiting, else 0.
    void UpdateSiteState();

    QByteArray CarPhotoExtension;
    QByteArray CardPhotoExtension;

    // Discards every lane and creates n fresh ones; ignored for n < 0 or an unchanged count.
    void SetLaneCount(int n);
    // Forgets routers, URL bases and lane states of every lane (the session ended).
    void ResetLaneData();

    QByteArray LaneCode(int lane) const;
    void SetLaneCode(int lane, const QByteArray& code);
    QByteArray BiddingRouter(int lane) const;
    void SetBiddingRouter(int lane, const QByteArray& hostPort);
    QByteArray WatchRouter(int lane) const;
    void SetWatchRouter(int lane, const QByteArray& hostPort);
    QByteArray DetailUrlBase(int lane) const;
    void SetDetailUrlBase(int lane, const QByteArray& url);
    QByteArray PhotoUrlBase(int lane) const;
    void SetPhotoUrlBase(int lane, const QByteArray& url);
    QTime OpeningTime(int lane) const;
    void SetOpeningTime(int lane, QTime time);
    QTime ClosingTime(int lane) const;
    void SetClosingTime(int lane, QTime time);
    int ExhibitCount(int lane) const;
    void SetExhibitCount(int lane, int count);
    int CurrentExhibit(int lane) const;
    void SetCurrentExhibit(int lane, int exhibit);
    int NextExhibit(int lane) const;
    void SetNextExhibit(int lane, int exhibit);
    int LaneState(int lane) const;
    void SetLaneState(int lane, int state);
    int PreviousLaneState(int lane) const;
    void SetPreviousLaneState(int lane, int state);

private:
    struct Lane {
        QByteArray code = QByteArrayLiteral("?");
        QByteArray biddingRouter;
        QByteArray watchRouter;
        QByteArray detailUrlBase;
        QByteArray photoUrlBase;
        QTime opening{0, 0};
        QTime closing{0, 0};
        int exhibitCount = 0;
        int currentExhibit = 0;
        int nextExhibit = 0;
        int laneState = -3;
        int previousLaneState = -3;
    };

    Lane* at(int lane);
    const Lane* at(int lane) const;

    QByteArray m_name;
    int m_siteNumber;
    quint8 m_siteState = 0;
    std::vector<Lane> m_lanes;
};

} // namespace qev
