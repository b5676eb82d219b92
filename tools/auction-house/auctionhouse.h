#pragma once

#include "tools/auction-house/houseconfig.h"
#include "tools/auction-house/housedirectory.h"
#include "tools/auction-house/houselog.h"

#include <QObject>
#include <memory>

namespace qev {

class DataServer;
class SignInServer;

// The local auction house: owns its servers, starts them on the configured address and ports,
// and keeps the directory of their addresses that the sign-in server announces. Further servers
// (lane routers, audio, web) are started here and write their entries into Directory().
class AuctionHouse final : public QObject {
    Q_OBJECT
public:
    explicit AuctionHouse(HouseConfig config, QObject* parent = nullptr);
    ~AuctionHouse() override;

    // Starts every server; false with a reason when one cannot listen.
    bool Start(QString* error = nullptr);

    const HouseConfig& Config() const { return m_config; }
    HouseConfig& Config() { return m_config; }
    HouseDirectory& Directory() { return m_directory; }
    HouseLog& Log() { return m_log; }
    SignInServer& SignIn() { return *m_signIn; }
    DataServer& Data() { return *m_data; }
    // "host:port" of the sign-in server, as a client is told to use it.
    QByteArray SignInAddress() const;

private:
    QByteArray Address(quint16 port) const;

    HouseConfig m_config;
    HouseDirectory m_directory;
    HouseLog m_log;
    SignInServer* m_signIn;
    DataServer* m_data;
};

} // namespace qev
