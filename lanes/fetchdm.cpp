#include "lanes/fetchdm.h"

#include "common/clock.h"
#include "lanes/lotrecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>

namespace qev {

namespace {

const QByteArray kAccept = QByteArrayLiteral("image/png, image/jpeg, image/gif, */*");

// The picture extension comes from the site information: only a short ".abc" form may become
// part of a file name, anything else (a path, a separator) is dropped.
QString SafeExtension(const QString& extension) {
    static const QRegularExpression safe(QStringLiteral("^\\.[A-Za-z0-9]{1,8}$"));
    return safe.match(extension).hasMatch() ? extension : QString();
}

bool IsHttpAddress(const QUrl& address) {
    const QString scheme = address.scheme().toLower();
    return address.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool HasExhNum(const TLotRecord& record) {
    return !record.Value("ExhNum").isEmpty();
}

} // namespace

TFetchDm::TFetchDm(const QString& cacheFolder, QObject* parent)
    : QObject(parent)
    , m_detailFolder(QDir(cacheFolder).filePath(QStringLiteral("shtmls")))
    , m_photoFolder(QDir(cacheFolder).filePath(QStringLiteral("imgs"))) {
    QDir().mkpath(m_detailFolder);
    QDir().mkpath(m_photoFolder);
    m_http.setProxy(QNetworkProxy::NoProxy);
    m_detail.isDetail = true;
    m_detail.maxBytes = MaxDetailBytes;
    m_detail.agent = QByteArrayLiteral("Details");
    m_photo.maxBytes = MaxPhotoBytes;
    m_photo.agent = QByteArrayLiteral("Images");
    m_poll.setInterval(PollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &TFetchDm::TimeASyncTimer);
    m_poll.start();
}

TFetchDm::~TFetchDm() {
    m_poll.stop();
    CancelAll();
}

QString TFetchDm::DetailFileName(int site, int exhibit, int kind) const {
    return QDir(m_detailFolder).filePath(QString::asprintf("%d%5.5d%5.5d%d", m_lane, site, exhibit, kind));
}

QString TFetchDm::PhotoFileName(int site, int exhibit, const QString& extension, int kind) const {
    return QDir(m_photoFolder)
        .filePath(QString::asprintf("%d%5.5d%5.5d-%d", m_lane, site, exhibit, kind) +
                  SafeExtension(extension));
}

bool TFetchDm::IsDetailCached(int site, int exhibit, int kind) const {
    QFile file(DetailFileName(site, exhibit, kind));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxDetailBytes)
        return false;
    const QByteArray bytes = file.read(MaxDetailBytes + 1);
    if (bytes.size() > MaxDetailBytes)
        return false;
    // Our detail files are scrambled as a whole, so the completeness mark is looked for in the
    // record as read as well as in plain lines.
    return HasExhNum(TLotRecord::FromPlain(bytes)) || HasExhNum(TLotRecord::FromScrambled(bytes));
}

bool TFetchDm::IsPhotoCached(int site, int exhibit, const QString& extension, int kind) const {
    return QFileInfo(PhotoFileName(site, exhibit, extension, kind)).isFile();
}

bool TFetchDm::QueueDetail(int site, int exhibit, int kind, const QUrl& address, int delay) {
    if (site == 0 || exhibit == 0)
        return true;
    if (IsDetailCached(site, exhibit, kind))
        return false;
    TDownloadItem item;
    item.kind = kind;
    item.site = site;
    item.exhibit = exhibit;
    item.address = address;
    item.delay = qMax(0, delay);
    item.fileName = DetailFileName(site, exhibit, kind);
    return Enqueue(m_detail, std::move(item));
}

bool TFetchDm::QueuePhoto(int site, int exhibit, int kind, const QString& extension, const QUrl& address,
                          int delay) {
    if (site == 0 || exhibit == 0)
        return true;
    if (IsPhotoCached(site, exhibit, extension, kind))
        return false;
    TDownloadItem item;
    item.kind = kind;
    item.site = site;
    item.exhibit = exhibit;
    item.address = address;
    item.delay = qMax(0, delay);
    item.fileName = PhotoFileName(site, exhibit, extension, kind);
    return Enqueue(m_photo, std::move(item));
}

bool TFetchDm::Enqueue(Queue& queue, TDownloadItem item) {
    for (const TDownloadItem& queued : queue.items) {
        if (queued.site == item.site && queued.exhibit == item.exhibit && queued.kind == item.kind)
            return true;
    }
    // Only plain web addresses are fetched: the address comes from the server.
    if (!IsHttpAddress(item.address))
        return true;
    queue.items.push_back(std::move(item));
    StartNext(queue);
    return true;
}

void TFetchDm::StartNext(Queue& queue) {
    if (queue.hasCurrent || queue.items.empty())
        return;
    queue.hasCurrent = true;
    TDownloadItem& item = queue.items.front();
    item.nextTry = Clock::current().nowMs() + item.delay;
    WakeAt(item.delay);
}

void TFetchDm::WakeAt(int delayMs) {
    // Start as soon as the delay has passed instead of on the next poll tick; the poll stays
    // as the fallback.
    QTimer::singleShot(qMax(0, delayMs), this, &TFetchDm::TimeASyncTimer);
}

void TFetchDm::TimeASyncTimer() {
    Poll(m_detail);
    Poll(m_photo);
}

void TFetchDm::Poll(Queue& queue) {
    if (!queue.hasCurrent || queue.reply)
        return;
    const TDownloadItem& item = queue.items.front();
    if (Clock::current().nowMs() < item.nextTry)
        return;

    QNetworkRequest request(item.address);
    request.setHeader(QNetworkRequest::UserAgentHeader, queue.agent);
    request.setRawHeader(QByteArrayLiteral("Accept"), kAccept);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setTransferTimeout(m_transferTimeoutMs);

    queue.body.clear();
    queue.refused = false;
    QNetworkReply* reply = m_http.get(request);
    reply->setReadBufferSize(256 * 1024);
    queue.reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, [&queue, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (queue.reply == reply && length.isValid() && length.toLongLong() > queue.maxBytes) {
            queue.refused = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, &queue, reply] {
        if (queue.reply == reply)
            OnReadyRead(queue);
    });
    connect(reply, &QNetworkReply::finished, this, [this, &queue, reply] { OnFinished(queue, reply); });
}

void TFetchDm::OnReadyRead(Queue& queue) {
    if (queue.refused)
        return;
    queue.body += queue.reply->readAll();
    if (queue.body.size() > queue.maxBytes) {
        queue.refused = true;
        queue.body.clear();
        queue.reply->abort();
    }
}

bool TFetchDm::SaveBody(const QString& fileName, const QByteArray& body) {
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    // Written aside and renamed, so a half-written file never looks cached.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(body);
    return file.commit();
}

void TFetchDm::OnFinished(Queue& queue, QNetworkReply* reply) {
    reply->disconnect(this);
    reply->deleteLater();
    if (queue.reply != reply || !queue.hasCurrent) {
        queue.body.clear();
        return;
    }
    if (!queue.refused) {
        queue.body += reply->readAll();
        if (queue.body.size() > queue.maxBytes)
            queue.refused = true;
    }
    queue.reply = nullptr;
    const int httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = !queue.refused && reply->error() == QNetworkReply::NoError && httpStatus == 200;
    QByteArray body = std::move(queue.body);
    queue.body.clear();

    TDownloadItem& item = queue.items.front();
    int status = 200;
    if (ok) {
        SaveBody(item.fileName, body);
    } else {
        if (--item.attemptsLeft > 0) {
            item.nextTry = Clock::current().nowMs() + item.delay;
            WakeAt(item.delay);
            return;
        }
        status = (!queue.refused && httpStatus > 0 && httpStatus != 200) ? httpStatus : StatusNoAnswer;
    }
    const TDownloadItem done = std::move(item);
    queue.items.pop_front();
    queue.hasCurrent = false;
    StartNext(queue);

    // Last: the handler may queue, cancel or even destroy this module.
    const DoneEvent handler = queue.isDetail ? OnDetailDone : OnPhotoDone;
    if (handler)
        handler(this, m_lane, done.kind, done.site, done.exhibit, status, done.fileName);
}

void TFetchDm::Drop(Queue& queue) {
    queue.items.clear();
    queue.hasCurrent = false;
    queue.body.clear();
    queue.refused = false;
}

void TFetchDm::CancelAll() {
    Drop(m_detail);
    Drop(m_photo);
    for (Queue* queue : {&m_detail, &m_photo}) {
        if (QNetworkReply* reply = queue->reply) {
            queue->reply = nullptr;
            reply->disconnect(this);
            reply->abort();
            reply->deleteLater();
        }
    }
}

} // namespace qev
