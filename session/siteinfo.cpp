#include "session/siteinfo.h"

#include <algorithm>
#include <type_traits>

namespace qev {

TSiteInfo::TSiteInfo(QByteArray name, int siteNumber)
    : m_name(std::move(name))
    , m_siteNumber(siteNumber) {}

void TSiteInfo::SetLaneCount(int n) {
    if (n < 0 || n == LaneCount())
        return;
    m_lanes.assign(static_cast<size_t>(std::min(n, kMaxLanes)), Lane{});
}

void TSiteInfo::ResetLaneData() {
    for (Lane& lane : m_lanes) {
        lane.biddingRouter.clear();
        lane.watchRouter.clear();
        lane.detailUrlBase.clear();
        lane.photoUrlBase.clear();
        lane.laneState = -3;
        lane.previousLaneState = -3;
    }
}

void TSiteInfo::UpdateSiteState() {
    const auto all = [this](auto pred) { return std::all_of(m_lanes.begin(), m_lanes.end(), pred); };
    const auto any = [this](auto pred) { return std::any_of(m_lanes.begin(), m_lanes.end(), pred); };
    if (any([](const Lane& l) { return l.laneState == 0 || l.laneState == -2; }))
        m_siteState = 2;
    else if (all([](const Lane& l) { return l.laneState == -1; }))
        m_siteState = 4;
    else if (all([](const Lane& l) { return l.laneState > 0; }))
        m_siteState = 3;
    else
        m_siteState = 0;
}

TSiteInfo::Lane* TSiteInfo::at(int lane) {
    return lane >= 0 && lane < LaneCount() ? &m_lanes[static_cast<size_t>(lane)] : nullptr;
}

const TSiteInfo::Lane* TSiteInfo::at(int lane) const {
    return lane >= 0 && lane < LaneCount() ? &m_lanes[static_cast<size_t>(lane)] : nullptr;
}

#define QEV_SITE_FIELD(Getter, Setter, Type, member, neutral)                                                \
    Type TSiteInfo::Getter(int lane) const {                                                                 \
        const Lane* l = at(lane);                                                                            \
        return l ? l->member : neutral;                                                                      \
    }                                                                                                        \
    void TSiteInfo::Setter(int lane,                                                                         \
                           std::conditional_t<std::is_same_v<Type, QByteArray>, const Type&, Type> v) {      \
        if (Lane* l = at(lane))                                                                              \
            l->member = v;                                                                                   \
    }

QEV_SITE_FIELD(LaneCode, SetLaneCode, QByteArray, code, QByteArrayLiteral("?"))
QEV_SITE_FIELD(BiddingRouter, SetBiddingRouter, QByteArray, biddingRouter, QByteArray())
QEV_SITE_FIELD(WatchRouter, SetWatchRouter, QByteArray, watchRouter, QByteArray())
QEV_SITE_FIELD(DetailUrlBase, SetDetailUrlBase, QByteArray, detailUrlBase, QByteArray())
QEV_SITE_FIELD(PhotoUrlBase, SetPhotoUrlBase, QByteArray, photoUrlBase, QByteArray())
QEV_SITE_FIELD(OpeningTime, SetOpeningTime, QTime, opening, QTime(0, 0))
QEV_SITE_FIELD(ClosingTime, SetClosingTime, QTime, closing, QTime(0, 0))
QEV_SITE_FIELD(ExhibitCount, SetExhibitCount, int, exhibitCount, 0)
QEV_SITE_FIELD(CurrentExhibit, SetCurrentExhibit, int, currentExhibit, 0)
QEV_SITE_FIELD(NextExhibit, SetNextExhibit, int, nextExhibit, 0)
QEV_SITE_FIELD(LaneState, SetLaneState, int, laneState, -3)
QEV_SITE_FIELD(PreviousLaneState, SetPreviousLaneState, int, previousLaneState, -3)

#undef QEV_SITE_FIELD

} // namespace qev
