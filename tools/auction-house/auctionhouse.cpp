#include "tools/auction-house/auctionhouse.h"

#include "tools/auction-house/audio/audioserver.h"
#include "tools/auction-house/catalogue/carcatalogue.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/laneengine.h"
#include "tools/auction-house/signinserver.h"
#include "tools/auction-house/web/auctionwebserver.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QStringEncoder>

namespace qev {

namespace {

constexpr int kGsmCodec = 2;
constexpr int kGsmRate = 8000;
constexpr int kLotBidding = 2;
constexpr int kLotSold = 1;
constexpr int kBidderLeads = 2;
constexpr int kBidderUnsold = 1;

// The n-th comma-separated field of a plain lane line's payload, from 1; 0 when not a number.
int Field(const QByteArray& line, int n) {
    const QByteArrayList fields = line.mid(3).split(',');
    return n >= 1 && n <= fields.size() ? fields[n - 1].toInt() : 0;
}

int TimeOfDay(const QByteArray& hhmmss) {
    return hhmmss.toInt();
}

} // namespace

AuctionHouse::AuctionHouse(HouseConfig config, QObject* parent)
    : QObject(parent)
    , m_config(std::move(config))
    , m_catalogue(std::make_unique<CarCatalogue>(m_config.seed))
    , m_signIn(new SignInServer(m_config, m_directory, m_log, this))
    , m_data(new DataServer(m_log, m_config.dataKeepAliveSeconds, this)) {
    m_bulletinTimer.setSingleShot(true);
    m_bulletinTimer.setInterval(kBulletinIntervalMs);
    connect(&m_bulletinTimer, &QTimer::timeout, this, &AuctionHouse::TimeBulletinTimer);
}

AuctionHouse::~AuctionHouse() {
    // The lanes go first: their signals reach the audio server and the bulletins.
    m_bulletinTimer.stop();
    delete m_lanes;
}

bool AuctionHouse::Start(QString* error) {
    const auto fail = [error](const QString& what, const QString& why) {
        if (error)
            *error = what + QStringLiteral(": ") + why;
        return false;
    };
    // A second start would open a second set of lanes and servers behind the announced ones.
    if (m_started)
        return fail(QStringLiteral("house"), QStringLiteral("already started"));
    m_started = true;
    if (!m_data->Listen(m_config.listen, m_config.dataPort))
        return fail(QStringLiteral("data server"), m_data->ErrorString());

    m_directory.dataAddress = Address(m_data->Port());
    m_directory.audioAddress = m_config.audioAddress;
    m_directory.audioSampleRate = m_config.audioSampleRate;
    m_directory.lanes.clear();
    for (int l = 0; l < m_config.lanes.size(); ++l) {
        const HouseLane& lane = m_config.lanes[l];
        HouseDirectory::Lane entry;
        entry.code = lane.code;
        entry.biddingRouter = lane.biddingRouter;
        entry.watchRouter = lane.watchRouter;
        // Detail bases go out without scheme and slash, as the client completes them.
        const QByteArray lanePath = m_config.webBase + "/lane" + QByteArray::number(l + 1);
        entry.detailUrlBase = lanePath + "/detail";
        entry.photoUrlBase = "http://" + lanePath + "/photo/";
        m_directory.lanes.append(entry);
    }

    QString why;
    if (m_config.webServer && !StartWeb(why))
        return fail(QStringLiteral("web server"), why);
    if (m_config.audioServer && !StartAudio(why))
        return fail(QStringLiteral("audio server"), why);
    if (m_config.liveLanes && !StartLanes(why))
        return fail(QStringLiteral("lanes"), why);

    if (!m_signIn->Listen(m_config.listen, m_config.signInPort))
        return fail(QStringLiteral("sign-in server"), m_signIn->ErrorString());
    m_log.Note("house", QByteArray("sign-in server on " + SignInAddress() + ", data server on " +
                                   m_directory.dataAddress));
    if (m_lanes) {
        PublishBulletins();
        m_lanes->Run();
    }
    return true;
}

bool AuctionHouse::StartWeb(QString& why) {
    // The web server draws its photos and cards with fonts.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        why = QStringLiteral("needs a QGuiApplication");
        return false;
    }
    AuctionWebConfig web;
    web.address = m_config.listen;
    web.port = m_config.webPort;
    web.catalogueSeed = m_config.seed;
    m_web = new AuctionWebServer(web, this);
    if (!m_web->IsListening()) {
        why = QStringLiteral("cannot listen on port ") + QString::number(m_config.webPort);
        return false;
    }
    const QByteArray detail = m_web->DetailBaseUrl().toEncoded();
    const QByteArray photo = m_web->ImageBaseUrl().toEncoded();
    for (HouseDirectory::Lane& lane : m_directory.lanes) {
        lane.detailUrlBase = detail;
        lane.photoUrlBase = photo;
    }
    m_log.Note("house", "web server on " + m_web->BaseUrl().toEncoded());
    return true;
}

bool AuctionHouse::StartAudio(QString& why) {
    AudioServerConfig audio;
    audio.address = m_config.listen;
    audio.port = m_config.audioPort;
    audio.codec = qBound(0, m_config.audioCodec, kGsmCodec);
    audio.sampleRate = audio.codec == kGsmCodec ? kGsmRate : m_config.audioSampleRate;
    // Lots of a fast lane pass too quickly to be voiced; the server then chants on its own.
    audio.autoChant = !m_config.liveLanes || m_config.fastPace;
    m_audio = new AudioServer(audio, this);
    if (!m_audio->Listen()) {
        why = m_audio->ErrorString();
        return false;
    }
    m_directory.audioAddress = Address(m_audio->Port());
    m_directory.audioSampleRate = audio.sampleRate;
    m_log.Note("house", "audio server on " + m_directory.audioAddress);
    return true;
}

bool AuctionHouse::StartLanes(QString& why) {
    QList<LaneEngineConfig> engines;
    for (int l = 0; l < m_config.lanes.size(); ++l) {
        const HouseLane& lane = m_config.lanes[l];
        LaneEngineConfig engine;
        engine.lane = l;
        engine.siteNumber = m_config.siteNumber;
        engine.pace = m_config.fastPace ? EnginePace::Fast() : EnginePace::Live();
        engine.seed = m_config.seed + static_cast<quint32>(l);
        engine.openingTime = lane.timeFrom.left(lane.timeFrom.size() - 2).toInt();
        // Reserves are drawn from the seed, so the same seed sells the same lots.
        QRandomGenerator reserves(m_config.seed ^ (0x5eed0000u + static_cast<quint32>(l)));
        for (int exhibit :
             m_catalogue->RunningOrder(l, qBound(0, lane.exhibits, CarCatalogue::LaneSpan - 1))) {
            const CatalogueLot lot = m_catalogue->Lot(exhibit);
            AuctionLot auctionLot;
            auctionLot.siteNumber = m_config.siteNumber;
            auctionLot.exhibit = exhibit;
            auctionLot.startPrice = lot.startPriceYen / 1000;
            auctionLot.correction = !lot.correction.isEmpty();
            // One lot in four sells without reserve.
            auctionLot.reservePrice =
                reserves.bounded(4u) == 0
                    ? 0
                    : auctionLot.startPrice + 3 * static_cast<int>(reserves.bounded(1u, 20u));
            engine.lots.append(auctionLot);
        }
        for (const HouseWatch& w : std::as_const(m_config.watches)) {
            if (w.lane == l)
                engine.watches.append({w.member, w.exhibit, w.flag});
        }
        engines.append(engine);
    }
    m_lanes = new AuctionLanes(this);
    if (!m_lanes->OpenLive(engines, m_config.listen)) {
        why = QStringLiteral("a lane router cannot listen");
        return false;
    }
    for (int l = 0; l < m_lanes->LaneCount(); ++l) {
        m_directory.lanes[l].biddingRouter = m_lanes->RouterAddress(l, RouterKind::Bidding);
        m_directory.lanes[l].watchRouter = m_lanes->RouterAddress(l, RouterKind::Watch);
        LaneEngine* engine = m_lanes->Engine(l);
        connect(engine, &LaneEngine::lotEntered, this, &AuctionHouse::LaneChanged);
        connect(engine, &LaneEngine::lotClosed, this, &AuctionHouse::LaneChanged);
        connect(engine, &LaneEngine::laneEnded, this, &AuctionHouse::LaneChanged);
        m_log.Note("house", "lane " + m_directory.lanes[l].code + ": bidding router on " +
                                m_directory.lanes[l].biddingRouter + ", watch router on " +
                                m_directory.lanes[l].watchRouter);
    }
    if (m_audio && !m_audio->config().autoChant && m_lanes->LaneCount() > 0)
        FollowLaneWithAudio(0);
    return true;
}

void AuctionHouse::FollowLaneWithAudio(int lane) {
    // The auctioneer heard is lane A's: a new lot at its start price, then each price step.
    connect(&m_lanes->Feed(lane), &LaneFeed::lineReady, m_audio, [audio = m_audio](const QByteArray& line) {
        if (line.startsWith("EN:") && Field(line, 2) > 0)
            audio->NewLot(Field(line, 5));
        else if (line.startsWith("PR:") && Field(line, 3) > 0)
            audio->PriceStep(Field(line, 3));
    });
}

void AuctionHouse::LaneChanged() {
    if (!m_bulletinTimer.isActive())
        m_bulletinTimer.start();
}

void AuctionHouse::PublishBulletins() {
    if (!m_lanes)
        return;
    QList<HouseBulletins::LaneInformation> states;
    for (int l = 0; l < m_lanes->LaneCount(); ++l) {
        m_data->Publish("AM" + QByteArray::number(l),
                        HouseBulletins::AlarmList(l, AlarmLots(l), m_config.watches));
        states.append(LaneState(l));
    }
    m_data->Publish(QByteArrayLiteral("NI"), HouseBulletins::Information(states));
}

QList<HouseBulletins::AlarmLot> AuctionHouse::AlarmLots(int lane) {
    const LaneEngine& engine = *m_lanes->Engine(lane);
    QList<int> exhibits = engine.UpcomingExhibits();
    if (engine.CurrentExhibit() != 0)
        exhibits.prepend(engine.CurrentExhibit());
    QList<HouseBulletins::AlarmLot> lots;
    for (int exhibit : exhibits) {
        if (lots.size() >= HouseBulletins::kMaxAlarmEntries)
            break;
        lots.append({exhibit, LotText(exhibit)});
    }
    return lots;
}

QByteArray AuctionHouse::LotText(int exhibit) {
    const auto found = m_lotTexts.constFind(exhibit);
    if (found != m_lotTexts.cend())
        return *found;
    const CatalogueLot lot = m_catalogue->Lot(exhibit);
    QStringEncoder sjis("windows-31j");
    const QByteArray text = sjis.encode(lot.modelYear + QLatin1Char(' ') + lot.carName);
    m_lotTexts.insert(exhibit, text);
    return text;
}

HouseBulletins::LaneInformation AuctionHouse::LaneState(int lane) const {
    const LaneEngine& engine = *m_lanes->Engine(lane);
    const HouseLane& config = m_config.lanes[lane];
    HouseBulletins::LaneInformation info;
    info.siteNumber = m_config.siteNumber;
    info.lane = lane;
    info.code = config.code;
    info.timeFrom = TimeOfDay(config.timeFrom);
    info.timeTo = TimeOfDay(config.timeTo);
    for (const LotResult& r : engine.Results())
        info.lotsSold += r.sold ? 1 : 0;
    info.lotsDone = static_cast<int>(engine.Results().size());
    info.lotsLeft = static_cast<int>(engine.UpcomingExhibits().size());
    switch (engine.CurrentPhase()) {
    case LaneEngine::Phase::Idle:
    case LaneEngine::Phase::Waiting:
        // Before the first lot: the opening time, or unknown when the lane announces none.
        info.laneState = engine.Config().openingTime > 0 ? engine.Config().openingTime : -3;
        return info;
    case LaneEngine::Phase::Ended:
        info.laneState = -1;
        return info;
    default:
        break;
    }
    info.laneState = 0;
    info.exhibit = engine.CurrentExhibit();
    info.price = engine.CurrentPrice();
    info.position = info.lotsDone + (engine.CurrentPhase() == LaneEngine::Phase::Result ? 0 : 1);
    if (engine.CurrentPhase() == LaneEngine::Phase::Bidding)
        info.lotFlags = kLotBidding;
    if (!engine.TopBidder().isEmpty())
        info.bidderFlags = kBidderLeads | engine.GaugeFlags();
    if (engine.CurrentPhase() == LaneEngine::Phase::Result && !engine.Results().isEmpty()) {
        const bool sold = engine.Results().constLast().sold;
        info.lotFlags = sold ? kLotSold : 0;
        info.bidderFlags = sold ? info.bidderFlags : kBidderUnsold;
    }
    return info;
}

QByteArray AuctionHouse::SignInAddress() const {
    return Address(m_signIn->Port());
}

QByteArray AuctionHouse::Address(quint16 port) const {
    return m_config.listen.toString().toLatin1() + ':' + QByteArray::number(port);
}

} // namespace qev
