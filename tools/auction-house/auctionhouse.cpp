#include "tools/auction-house/auctionhouse.h"

#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/signinserver.h"

namespace qev {

AuctionHouse::AuctionHouse(HouseConfig config, QObject* parent)
    : QObject(parent)
    , m_config(std::move(config))
    , m_signIn(new SignInServer(m_config, m_directory, m_log, this))
    , m_data(new DataServer(m_log, m_config.dataKeepAliveSeconds, this)) {}

AuctionHouse::~AuctionHouse() = default;

bool AuctionHouse::Start(QString* error) {
    const auto fail = [error](const QString& what, const QString& why) {
        if (error)
            *error = what + QStringLiteral(": ") + why;
        return false;
    };
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

    if (!m_signIn->Listen(m_config.listen, m_config.signInPort))
        return fail(QStringLiteral("sign-in server"), m_signIn->ErrorString());
    m_log.Note("house", QByteArray("sign-in server on " + SignInAddress() + ", data server on " +
                                   m_directory.dataAddress));
    return true;
}

QByteArray AuctionHouse::SignInAddress() const {
    return Address(m_signIn->Port());
}

QByteArray AuctionHouse::Address(quint16 port) const {
    return m_config.listen.toString().toLatin1() + ':' + QByteArray::number(port);
}

} // namespace qev
