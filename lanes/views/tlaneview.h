#pragma once

#include "lanes/views/laneviewlayout.h"
#include "lanes/views/ttrrframe.h"

namespace qev {

class TAuctionGauge;
class TPictureBox;
struct LaneViewImages;
class TQEV2016GResPanel;
class TQEV2016JPanel;
class TQEV2016Panel;
class TQEV2016PricePanel;
class TResButton;

// What both view kinds show about their own lane: the lot on the block with its price, gauge,
// state strip, grades, photo and card, the next lot, the own lane's alarm row and badge, the bid
// button and the won-bid report. The kinds differ in their layout and in the extra parts the
// one-lane view adds.
class TLaneView : public TTrrFrame {
    Q_OBJECT
public:
    TLaneView(LaneViewHost& host, const LaneViewImages& images, const LaneViewLayout& layout,
              QWidget* parent = nullptr);
    ~TLaneView() override;

    void SetupView(QWidget* panel, TProcsDm* session) override;
    void Finalize() override;
    void ResetLane() override;
    void RefreshLayout() override;
    void SetAutoBidInterval(int ms) override;
    void ShowCurrentLot(const TLotRecord& record, bool newLot, bool started) override;
    void ShowNextLot(int lane, const TLotRecord* record, bool notCached, bool watched) override;
    void ClearCurrentLot() override;
    void ClearNextLot() override;
    void ClearPhoto() override;
    void SetLotState(int state) override;
    void SetPriceStyle(int style) override;
    void SetPrice(int price) override;
    void ShowGrades(const QByteArray& exterior, const QByteArray& interior,
                    const QByteArray& overall) override;
    void UpdateBidButton() override;
    void SetGauge(int value) override;
    void RepaintPrice() override;
    void ShowMessage(TMessageType kind, const QStringList& texts) override;
    void ShowCorrection(const TLotRecord& record) override;
    void UpdateAlarmList(int lane, const QList<AlarmItem>& list) override;
    void ShowPhoto(int kind, const TImageHolder& slot) override;
    void CloseReport(int lane, int siteNumber, int exhibit, int price) override;
    TQEV2016ResButton* BidButton() override { return m_bid; }

    // Every condition under which a bid may go holds.
    bool BidConditionsHold();
    // The strip row the state shows; -1 leaves the strip as it is.
    static int StripIndex(int state);

    const LaneViewLayout& Layout() const { return m_layout; }
    int CurrentExhibit() const { return m_currentExhibit; }
    int NextExhibit() const { return m_nextExhibit; }
    const QList<AlarmItem>& ThisLaneAlarms() const { return m_thisLaneAlarms; }
    bool AlarmBadgeOn() const;

    TQEV2016GResPanel& WinBase() { return *m_base; }
    TQEV2016JPanel& LblItemExhibitNo() { return *m_exhibitNo; }
    TQEV2016JPanel& CarInfo() { return *m_carInfo; }
    TQEV2016GResPanel& PnlAlarm() { return *m_badge; }
    TQEV2016GResPanel& PnlMessage() { return *m_message; }
    TAuctionGauge& GgBid() { return *m_gauge; }
    TQEV2016PricePanel& PricePanel() { return *m_price; }
    TQEV2016JPanel& PnlRatingSogo() { return *m_overall; }
    TQEV2016JPanel& PnlRatingGaiso() { return *m_exterior; }
    TQEV2016JPanel& PnlRatingNaiso() { return *m_interior; }
    TPictureBox& ImgCurrCar() { return *m_photo; }
    TQEV2016JPanel& LblNextShamei() { return *m_next; }
    TQEV2016Panel& PnlAlarmThisLane() { return *m_alarmRow; }
    TQEV2016JPanel& PnlReport() { return *m_report; }
    TQEV2016JPanel& PnlNotifyRakusatsuExhibitNo() { return *m_reportExhibit; }
    TQEV2016JPanel& PnlNotifyRakusatsuPrice() { return *m_reportPrice; }
    TResButton& ReportOk() { return *m_reportOk; }
    // The calm line over the car line while a lane waits, fetches or has ended.
    TQEV2016JPanel& PnlLaneNotice() { return *m_notice; }
    // The line a message kind shows; empty for the kinds that show none.
    static QString NoticeText(TMessageType kind, const QStringList& texts);

protected:
    // The one-lane view sets up its other-lane parts for its lane here.
    virtual void SetupOwnParts() {}
    // The one-lane view also keeps the bid button off while a report is open.
    virtual bool ChecksReportOpen() const { return false; }
    void ShowThisLaneAlarm(bool playSound);
    const LaneViewImages& Images() const { return m_images; }

private:
    void BuildParts();

    const LaneViewImages& m_images;
    const LaneViewLayout& m_layout;
    int m_currentExhibit = -1;
    int m_nextExhibit = 0;
    QList<AlarmItem> m_thisLaneAlarms;

    // Children of the view (Qt owns them), back to front.
    TQEV2016GResPanel* m_base = nullptr;
    TQEV2016JPanel* m_exhibitNo = nullptr;
    TQEV2016JPanel* m_carInfo = nullptr;
    TQEV2016GResPanel* m_badge = nullptr;
    TPictureBox* m_photo = nullptr;
    TQEV2016GResPanel* m_message = nullptr;
    TAuctionGauge* m_gauge = nullptr;
    TQEV2016ResButton* m_bid = nullptr;
    TQEV2016PricePanel* m_price = nullptr;
    TQEV2016JPanel* m_overall = nullptr;
    TQEV2016JPanel* m_exterior = nullptr;
    TQEV2016JPanel* m_interior = nullptr;
    TQEV2016JPanel* m_next = nullptr;
    TQEV2016Panel* m_alarmRow = nullptr;
    TQEV2016JPanel* m_report = nullptr;
    TQEV2016JPanel* m_reportExhibit = nullptr;
    TQEV2016JPanel* m_reportPrice = nullptr;
    TResButton* m_reportOk = nullptr;
    TQEV2016JPanel* m_notice = nullptr;
};

// Applies a text look to a panel of either kind.
void ApplyLook(TQEV2016JPanel& panel, const TextPlace& place);
void ApplyLook(TQEV2016Panel& panel, const TextPlace& place);

} // namespace qev
