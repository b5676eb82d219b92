#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

namespace qev {

class TQEV2016JPanel;
class TQEV2016OrgResButton;
class TQEV2016JResButton;
class TResButton;

// The 1024 x 41 strip across the top of the main window: user ID, the countdown before bidding
// switches itself off, the bid-mode pair, volume, alarm settings / back to auction, exit.
// It decides nothing beyond a one-second guard on bid-mode changes; every action is an event.
class TQEV2016Header : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 41;
    static constexpr qint64 kBidModeGuardMs = 1000;

    explicit TQEV2016Header(QWidget* parent = nullptr);
    ~TQEV2016Header() override;

    std::function<void(TQEV2016Header* sender, bool bidMode)> OnBidModeChange;
    std::function<void(TQEV2016Header* sender, int volume)> OnVolumeChange;
    std::function<void(TQEV2016Header* sender)> OnAlarmSettingClick;
    std::function<void(TQEV2016Header* sender)> OnAuctionClick;
    std::function<void(TQEV2016Header* sender)> OnExitClick;

    void SetUserCaption(const QString& caption);
    QString UserCaption() const { return m_userCaption; }
    // Shows a bid mode the program has set; always shown (the one-second guard is for clicks).
    void SetBidMode(bool on);
    bool BidMode() const { return m_bidMode; }
    void SetBidModeEnabled(bool on);
    void SetBidModeVisible(bool on);
    void SetVolumeDisplay(int level);
    void SetVolumeEnabled(bool on);
    void SetAlarmSettingVisible(bool on);
    void SetAlarmSettingEnabled(bool on);
    void SetAuctionVisible(bool on);
    void SetAuctionEnabled(bool on);
    void SetBidOffCountdown(int lots);
    int BidOffCountdown() const { return m_countdown; }

    // The children (null until the header has a parent).
    bool HasChildren() const { return m_userBox != nullptr; }
    TQEV2016JPanel* UserBox() const { return m_userBox; }
    TQEV2016JPanel* CountdownText() const { return m_countdownText; }
    TQEV2016OrgResButton* BidOffButton() const { return m_bidOff; }
    TQEV2016OrgResButton* BidOnButton() const { return m_bidOn; }
    TQEV2016JResButton* VolumeButton() const { return m_volume; }
    TQEV2016OrgResButton* AuctionButton() const { return m_auction; }
    TQEV2016OrgResButton* AlarmSettingButton() const { return m_alarmSetting; }
    TQEV2016OrgResButton* ExitButton() const { return m_exit; }

    static QString CountdownTextFor(int lots);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateChildren();
    void BidModeButtonClick(TResButton* button);
    void ApplyFlags();
    void Fire(const std::function<void(TQEV2016Header*)>& event);

    QImage m_base;
    QImage m_bidModeStrip;
    QImage m_volumeStrip;
    QImage m_alarmSettingStrip;
    QImage m_auctionStrip;
    QImage m_exitStrip;

    QString m_userCaption;
    bool m_bidMode = false;
    std::optional<qint64> m_lastBidModeChangeMs;
    int m_countdown = 0;
    int m_volumeLevel = 0;
    bool m_bidModeVisible = true;
    bool m_volumeVisible = true;
    bool m_alarmSettingVisible = true;
    bool m_auctionVisible = false;
    bool m_exitVisible = true;
    bool m_bidModeEnabled = false;
    bool m_volumeEnabled = false;
    bool m_alarmSettingEnabled = false;
    bool m_auctionEnabled = false;
    bool m_exitEnabled = true;

    TQEV2016JPanel* m_userBox = nullptr;
    TQEV2016JPanel* m_countdownText = nullptr;
    TQEV2016OrgResButton* m_bidOff = nullptr;
    TQEV2016OrgResButton* m_bidOn = nullptr;
    TQEV2016JResButton* m_volume = nullptr;
    TQEV2016OrgResButton* m_auction = nullptr;
    TQEV2016OrgResButton* m_alarmSetting = nullptr;
    TQEV2016OrgResButton* m_exit = nullptr;
};

} // namespace qev
