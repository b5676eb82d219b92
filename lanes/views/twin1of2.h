#pragma once

#include "lanes/views/tlaneview.h"

namespace qev {

// The one-lane view: one lane large, with a line about the other lane's lot on the block, the
// other lane's alarm row and a button that switches to the other lane.
class TWin1Of2 : public TLaneView {
    Q_OBJECT
public:
    TWin1Of2(LaneViewHost& host, const LaneViewImages& images, QWidget* parent = nullptr);

    void Finalize() override;
    void ShowOtherLaneLot(int lane, const TLotRecord* record) override;
    void UpdateAlarmList(int lane, const QList<AlarmItem>& list) override;
    void BtnToOtherLaneClick();

    int OtherLane() const { return Lane == 0 ? 1 : 0; }
    const QList<AlarmItem>& OtherLaneAlarms() const { return m_otherLaneAlarms; }
    TQEV2016Panel& LblOtherLaneExhibitNo() { return *m_otherExhibit; }
    TQEV2016Panel& LblOtherLaneCarName() { return *m_otherCarLine; }
    TQEV2016Panel& PnlAlarmOtherLane() { return *m_otherAlarmRow; }
    TResButton& BtnToOtherLane() { return *m_toOtherLane; }

protected:
    void SetupOwnParts() override;
    bool ChecksReportOpen() const override { return true; }

private:
    QList<AlarmItem> m_otherLaneAlarms;
    TQEV2016Panel* m_otherExhibit;
    TQEV2016Panel* m_otherCarLine;
    TResButton* m_toOtherLane;
    TQEV2016Panel* m_otherAlarmRow;
};

} // namespace qev
