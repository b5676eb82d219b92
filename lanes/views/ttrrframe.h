#pragma once

#include "lanes/lotrecord.h"
#include "lanes/views/messagetype.h"
#include "session/laneparser.h"

#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace qev {

class LaneViewHost;
class TCardArea;
class TImageHolder;
class TProcsDm;
class TQEV2016ResButton;

// The base of the lane views: the state both view kinds share, the interface the window calls
// for every lane event, bidding with the bid button and its two timers, the won-bid report
// hooks and the exhibit card area. The placeholder view derives from it and does nothing.
class TTrrFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBidWindowMs = 500;
    static constexpr int kLaneOverMs = 10000;

    using ReportEvent =
        std::function<void(TTrrFrame& view, int lane, int siteNumber, int exhibit, int price)>;

    explicit TTrrFrame(LaneViewHost& host, QWidget* parent = nullptr);
    ~TTrrFrame() override;

    // Set by the window right after creating the view, and as lots come and go.
    int Lane = 0;
    int SiteNumber = 0;
    int ExhibitNo = 0;

    ReportEvent OnConfirmationRequest;
    ReportEvent OnConfirm;
    std::function<void(TTrrFrame& view, int lane)> OnToOtherLane;

    // The interface, in the window's terms.
    virtual void Attach(QWidget* panel, TProcsDm* session);
    virtual void SetupView(QWidget* panel, TProcsDm* session);
    virtual void Finalize();
    virtual void ResetLane();
    virtual void RefreshLayout() {}
    virtual void SetAutoBidInterval(int /*ms*/) {}
    virtual void ShowCurrentLot(const TLotRecord& record, bool newLot, bool started);
    virtual void ShowOtherLaneLot(int /*lane*/, const TLotRecord* /*record*/) {}
    virtual void ShowNextLot(int /*lane*/, const TLotRecord* /*record*/, bool /*notCached*/,
                             bool /*watched*/) {}
    virtual void ClearCurrentLot() {}
    virtual void ClearNextLot() {}
    virtual void ClearPhoto() {}
    virtual void SetLotState(int /*state*/) {}
    virtual void SetPriceStyle(int /*style*/) {}
    virtual void SetPrice(int price) { m_price = price; }
    virtual void ShowGrades(const QByteArray& /*exterior*/, const QByteArray& /*interior*/,
                            const QByteArray& /*overall*/) {}
    virtual void UpdateBidButton() {}
    virtual void SetGauge(int value) { m_gauge = value; }
    virtual void RepaintPrice() {}
    virtual void ShowMessage(TMessageType kind, const QStringList& texts);
    virtual void ShowCorrection(const TLotRecord& /*record*/) {}
    virtual void UpdateAlarmList(int /*lane*/, const QList<AlarmItem>& /*list*/) {}
    // kind 0: the car photo, 1: the exhibit card.
    virtual void ShowPhoto(int /*kind*/, const TImageHolder& /*slot*/) {}
    virtual void CloseReport(int /*lane*/, int /*siteNumber*/, int /*exhibit*/, int /*price*/) {}

    // The lanes' reset at login: the remembered lot state and price style go back to 0 without
    // drawing, so the next real state always draws.
    void ForgetLotStateAndStyle() {
        m_lotState = 0;
        m_priceStyle = 0;
    }

    // Handlers (plain methods so tests call them on the installed clock).
    virtual void BidClick();
    void TimeBDTimer();
    void TimeMessageBoxTimer();
    void ReportOkClick();

    // State, for the views and for tests.
    quint8 LotState() const { return m_lotState; }
    quint8 PriceStyle() const { return m_priceStyle; }
    TMessageType ShownMessage() const { return m_shownMessage; }
    bool ReportOpen() const { return m_reportOpen; }
    int Price() const { return m_price; }
    int Gauge() const { return m_gauge; }
    const TLotRecord& LotRecordCopy() const { return m_record; }
    TMessageType MessageCopy() const { return m_messageKind; }
    const QStringList& MessageTexts() const { return m_messageTexts; }
    int ReportSiteNumber() const { return m_reportSite; }
    int ReportExhibit() const { return m_reportExhibit; }
    int ReportPrice() const { return m_reportPrice; }
    qint64 LastBidClickMs() const { return m_lastBidClickMs; }
    QTimer& TimeBD() { return m_timeBD; }
    QTimer& TimeMessageBox() { return m_timeMessageBox; }
    TCardArea* CardArea() { return m_card.get(); }
    TProcsDm* Session() const { return m_session; }
    virtual TQEV2016ResButton* BidButton() { return nullptr; }

protected:
    void SetupCommon(QWidget* panel, TProcsDm* session);
    void CreateCardArea(QWidget* panel, int left, int top, int width, int height);
    void SetCorrectionText(const QString& text);
    void SetCardPicture(const QImage* card);
    void ClearCardArea();
    // Captures the report identifiers from the session's last price message of the lane.
    void CaptureReport();
    void StoreLotState(quint8 state) { m_lotState = state; }
    void StorePriceStyle(quint8 style) { m_priceStyle = style; }
    void StoreShownMessage(TMessageType kind) { m_shownMessage = kind; }
    void SetReportOpen(bool open) { m_reportOpen = open; }

    LaneViewHost& Host() { return m_host; }
    void paintEvent(QPaintEvent* event) override;

private:
    void SendBidNow();

    LaneViewHost& m_host;
    TProcsDm* m_session = nullptr;
    quint8 m_lotState = 0;
    quint8 m_priceStyle = 0;
    TMessageType m_shownMessage = mtInitialize;
    TMessageType m_messageKind = mtInitialize; // the last kind asked for, shown or not
    QStringList m_messageTexts;
    int m_reportSite = 0;
    int m_reportExhibit = 0;
    int m_reportPrice = 0;
    bool m_reportOpen = false;
    qint64 m_lastBidClickMs = 0;
    int m_price = -1;
    int m_gauge = 0;
    TLotRecord m_record;
    QTimer m_timeBD;
    QTimer m_timeMessageBox;
    std::unique_ptr<TCardArea> m_card;
};

} // namespace qev
