#pragma once

#include "tools/auction-house/housebulletins.h"
#include "tools/auction-house/houseconfig.h"
#include "tools/auction-house/housedirectory.h"
#include "tools/auction-house/houselog.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <memory>

namespace qev {

class AuctionLanes;
class AuctionWebServer;
class AudioServer;
class CarCatalogue;
class DataServer;
class SignInServer;

// The local auction house: owns its servers, starts them on the configured address and ports,
// and keeps the directory of their addresses that the sign-in server announces. Besides sign-in
// and data it runs, as the config asks, live lanes with their routers, the web server and the
// audio server; the data server then keeps every client told of alarm lists and lane states.
class AuctionHouse final : public QObject {
    Q_OBJECT
public:
    // Lane changes reach the data server's clients at most this often.
    static constexpr int kBulletinIntervalMs = 200;

    explicit AuctionHouse(HouseConfig config, QObject* parent = nullptr);
    ~AuctionHouse() override;

    // Starts every server, once; false with a reason when one cannot listen (what did start stays
    // up until the house goes away).
    bool Start(QString* error = nullptr);

    const HouseConfig& Config() const { return m_config; }
    HouseConfig& Config() { return m_config; }
    HouseDirectory& Directory() { return m_directory; }
    HouseLog& Log() { return m_log; }
    SignInServer& SignIn() { return *m_signIn; }
    DataServer& Data() { return *m_data; }
    // Null until Start() ran them (and when the config leaves them out).
    AuctionLanes* Lanes() const { return m_lanes; }
    AuctionWebServer* Web() const { return m_web; }
    AudioServer* Audio() const { return m_audio; }
    // "host:port" of the sign-in server, as a client is told to use it.
    QByteArray SignInAddress() const;

    // Sends the lanes' alarm lists and information line to the data server's clients now.
    void PublishBulletins();
    // Timer handler: a lane changed since the last bulletins.
    void TimeBulletinTimer() { PublishBulletins(); }

private:
    QByteArray Address(quint16 port) const;
    bool StartLanes(QString& why);
    bool StartWeb(QString& why);
    bool StartAudio(QString& why);
    void FollowLaneWithAudio(int lane);
    HouseBulletins::LaneInformation LaneState(int lane) const;
    QList<HouseBulletins::AlarmLot> AlarmLots(int lane);
    QByteArray LotText(int exhibit);
    void LaneChanged();

    HouseConfig m_config;
    HouseDirectory m_directory;
    HouseLog m_log;
    std::unique_ptr<CarCatalogue> m_catalogue;
    SignInServer* m_signIn;
    DataServer* m_data;
    AuctionLanes* m_lanes = nullptr;
    AuctionWebServer* m_web = nullptr;
    AudioServer* m_audio = nullptr;
    QTimer m_bulletinTimer;
    bool m_started = false;
    QHash<int, QByteArray> m_lotTexts;
};

} // namespace qev
