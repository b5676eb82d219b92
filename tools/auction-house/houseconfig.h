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

// A member's watched lot: the lane calls the member before it comes up and the data server lists
// it, marked for the member, in the lane's alarm list.
struct HouseWatch {
    QByteArray member; // a member number; lane calls reach four-character numbers only
    int lane = 0;
    int exhibit = 0;
    char flag = 'A'; // "A" or "B" in the lane's member flags
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
    QList<HouseWatch> watches;

    // Servers besides sign-in and data; off here so a bare house (unit tests without a GUI
    // application) stays small. The program turns them on.
    bool liveLanes = false;   // lane engines and routers; their addresses replace the lanes' routers
    bool webServer = false;   // lot files, photos and pages; needs a QGuiApplication
    bool audioServer = false; // its address replaces audioAddress
    bool fastPace = false;    // lots in milliseconds instead of half a minute
    quint32 seed = 2016;      // catalogue and auction: the same seed plays the same day
    quint16 webPort = 11180;
    quint16 audioPort = 0;
    int audioCodec = 2; // 0 raw 8-bit, 1 zlib 8-bit, 2 GSM 6.10

    // Two lanes and the demo accounts: 1001/demo signs in, 1101 ... 1112 and 1199 are refused
    // with the code in their name (1113 with a refusal text), 1120 gets no answer.
    static HouseConfig Default();
    // Fields missing from the JSON keep the defaults; error explains the first bad field.
    static std::optional<HouseConfig> FromJson(const QByteArray& json, QString* error = nullptr);
    static std::optional<HouseConfig> FromFile(const QString& path, QString* error = nullptr);

    const HouseAccount* FindAccount(QByteArrayView id) const;
    // Parses "ID:PASSWORD[:OUTCOME]" where OUTCOME is ok, silent or a refusal code.
    static std::optional<HouseAccount> ParseAccount(QByteArrayView text);
    // Parses "MEMBER:LANE:EXHIBIT[:FLAG]".
    static std::optional<HouseWatch> ParseWatch(QByteArrayView text);
    // Keeps the first n lanes or adds lanes "C", "D" ... up to n (1 to 4); false outside that.
    bool SetLaneCount(int n);
};

} // namespace qev
