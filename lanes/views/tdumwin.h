#pragma once

#include "lanes/views/ttrrframe.h"

namespace qev {

// The placeholder the window hands out for a view kind not in use: every operation does
// nothing, so callers never ask which kind is showing.
class TDumWin : public TTrrFrame {
    Q_OBJECT
public:
    explicit TDumWin(LaneViewHost& host, QWidget* parent = nullptr);

    void Attach(QWidget* panel, TProcsDm* session) override;
    void SetupView(QWidget*, TProcsDm*) override {}
    void Finalize() override {}
    void ResetLane() override {}
    void ShowCurrentLot(const TLotRecord&, bool, bool) override {}
    void SetPrice(int) override {}
    void SetGauge(int) override {}
    void ShowMessage(TMessageType, const QStringList&) override {}
    void BidClick() override {}
};

} // namespace qev
