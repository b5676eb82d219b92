#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <optional>

class QJsonObject;

namespace qev {

// What an account's sign-in ends in: the session, a refusal code, or no answer at all.
struct HouseAccount {
    enum class Outcome { Accept, Refuse, Silent };
    QByteArray id;
    QByteArray password;
    Outcome outcome = Outcome::Accept;
    int refusalCode = 0;    // Refuse: 101, 102, 103, 107, 111, 112 ...
    QByteArray refusalText; // 103: sent when not empty
    QByteArray memberClass = QByteArrayLiteral("2");
};

struct HouseLane {
    QByteArray code;
    int exhibits = 120;
    QByteArray timeFrom = QByteArrayLiteral("093000"); // HHMMSS as the site information carries it
    QByteArray timeTo = QByteArrayLiteral("170000");
    QByteArray biddingRouter; // host:port; the lane servers fill it when they run
    QByteArray watchRouter;
};

// The auction house's configuration, read from JSON. Port 0 picks a free port.
struct HouseConfig {
    QHostAddress listen = QHostAddress(QHostAddress::LocalHost);
    quint16 signInPort = 11120;
    quint16 dataPort = 0;
    int siteNumber = 12;
    int sessionNumber = 1;
    int autoBidIntervalMs = 500;
    int priceJumpThreshold = 30000;
    int priceJumpLockMs = 1500;
    int maxPriceDelayMs = 3000;
    int dataKeepAliveSeconds = 20;
    QByteArray audioAddress; // host:port, empty until an audio server runs
    int audioSampleRate = 8000;
    QByteArray webBase; // host:port[/path] of the web server, without scheme
    QList<HouseLane> lanes;
    QList<HouseAccount> accounts;

    // Two lanes and the demo accounts: 1001/demo signs in, 1101 ... 1112 and 1199 are refused
    // with the code in their name (1113 with a refusal text), 1120 gets no answer.
    static HouseConfig Default();
    // Fields missing from the JSON keep the defaults; error explains the first bad field.
    static std::optional<HouseConfig> FromJson(const QByteArray& json, QString* error = nullptr);
    static std::optional<HouseConfig> FromFile(const QString& path, QString* error = nullptr);

    const HouseAccount* FindAccount(QByteArrayView id) const;
    // Parses "ID:PASSWORD[:OUTCOME]" where OUTCOME is ok, silent or a refusal code.
    static std::optional<HouseAccount> ParseAccount(QByteArrayView text);
};

} // namespace qev
