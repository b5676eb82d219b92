#include "lanes/views/twin1of2.h"

#include "lanes/views/alarmrows.h"
#include "lanes/views/laneviewhost.h"
#include "lanes/views/laneviewimages.h"
#include "lanes/views/viewstyle.h"
#include "skin/qev2016panel.h"
#include "skin/resbutton.h"

namespace qev {

namespace {
constexpr int kSwitchRepeatMs = 500;
} // namespace

TWin1Of2::TWin1Of2(LaneViewHost& host, const LaneViewImages& images, QWidget* parent)
    : TLaneView(host, images, kOneLaneLayout, parent)
    , m_otherExhibit(new TQEV2016Panel(this))
    , m_otherCarLine(new TQEV2016Panel(this))
    , m_toOtherLane(new TResButton(this))
    , m_otherAlarmRow(new TQEV2016Panel(this)) {
    const OtherLaneLayout& l = kOtherLaneLayout;
    m_otherExhibit->setObjectName(QStringLiteral("LblOtherLaneExhibitNo"));
    ApplyLook(*m_otherExhibit, l.exhibitNo);
    m_otherCarLine->setObjectName(QStringLiteral("LblOtherLaneCarName"));
    ApplyLook(*m_otherCarLine, l.carLine);
    m_otherAlarmRow->setObjectName(QStringLiteral("PnlAlarmOtherLane"));
    ApplyLook(*m_otherAlarmRow, l.alarmOtherLane);
    // The designed rectangle before the strip: the columns follow from the width.
    m_toOtherLane->setObjectName(QStringLiteral("BtnToOtherLane"));
    m_toOtherLane->setGeometry(l.toOtherLane);
    m_toOtherLane->setCursor(Qt::PointingHandCursor);
    m_toOtherLane->SetAutoSize(true);
    m_toOtherLane->SetButtonCols(1);
    m_toOtherLane->SetButtonDisablity(true);
    m_toOtherLane->SetAutoClickInterval(kSwitchRepeatMs);
    m_toOtherLane->OnClick = [this](TResButton*) { BtnToOtherLaneClick(); };
}

void TWin1Of2::SetupOwnParts() {
    // Lane A's view offers lane B and the other way round.
    m_toOtherLane->SetBitmap(Lane == 0 ? Images().toLaneB : Images().toLaneA);
}

void TWin1Of2::Finalize() {
    m_otherLaneAlarms.clear();
    TLaneView::Finalize();
}

void TWin1Of2::ShowOtherLaneLot(int lane, const TLotRecord* record) {
    if (record && lane <= OtherLane()) {
        m_otherExhibit->SetText(WireText(record->Value("REAL_EXHIBIT_NO")));
        m_otherCarLine->SetText(WireText(record->CarLine()));
    }
    if (lane == Lane)
        return;
    const int current = record ? record->ExhibitNumber() : -1;
    const QString row = OtherLaneAlarmRow(m_otherLaneAlarms, current);
    m_otherAlarmRow->SetText(row);
}

void TWin1Of2::UpdateAlarmList(int lane, const QList<AlarmItem>& list) {
    if (lane == Lane)
        TLaneView::UpdateAlarmList(lane, list);
    else
        m_otherLaneAlarms = list;
}

void TWin1Of2::BtnToOtherLaneClick() {
    Host().PlayClickSound();
    if (OnToOtherLane) {
        const auto hook = OnToOtherLane;
        hook(*this, OtherLane());
    }
}

} // namespace qev
