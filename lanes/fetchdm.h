#pragma once

#include "lanes/downloaditem.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

class QNetworkReply;

namespace qev {

// The download module of one lane: lot detail files and pictures into the cache folder, one
// request at a time per queue, each item tried twice, a completion event per queue.
// Requests are plain HTTP/1.1 GETs (no HTTP/2, no proxy, at most 5 redirections); bodies are
// capped and written aside then renamed, so a cached file is always a whole answer.
class TFetchDm : public QObject {
    Q_OBJECT
public:
    // Bodies above these sizes are refused: the download counts as failed and is not cached.
    static constexpr qint64 MaxDetailBytes = 1024 * 1024;
    static constexpr qint64 MaxPhotoBytes = 16 * 1024 * 1024;
    // Status reported for a download that ended without a usable HTTP answer (network error,
    // abort, stall, refused body).
    static constexpr int StatusNoAnswer = 0;
    static constexpr int PollIntervalMs = 100;
    static constexpr int MaxRedirects = 5;
    static constexpr int DefaultTransferTimeoutMs = 20'000;

    using DoneEvent = std::function<void(TFetchDm* sender, int lane, int kind, int site, int exhibit,
                                         int status, const QString& fileName)>;

    // cacheFolder gets the subfolders "shtmls" (detail files) and "imgs" (pictures).
    explicit TFetchDm(const QString& cacheFolder, QObject* parent = nullptr);
    ~TFetchDm() override;

    void SetLaneIndex(int lane) { m_lane = lane; }
    int LaneIndex() const { return m_lane; }
    // A request that moves no bytes for this long fails (so a stalled server cannot hold a queue).
    void SetTransferTimeoutMs(int ms) { m_transferTimeoutMs = ms; }

    QString DetailFileName(int site, int exhibit, int kind) const;
    QString PhotoFileName(int site, int exhibit, const QString& extension, int kind) const;
    bool IsDetailCached(int site, int exhibit, int kind) const;
    bool IsPhotoCached(int site, int exhibit, const QString& extension, int kind) const;

    // False when the file is cached already (nothing queued), true otherwise.
    bool QueueDetail(int site, int exhibit, int kind, const QUrl& address, int delay);
    bool QueuePhoto(int site, int exhibit, int kind, const QString& extension, const QUrl& address,
                    int delay);

    // Empties both queues and aborts the requests in flight; no event fires for them.
    void CancelAll();

    // The 100 ms poll: starts the current item of each queue when its time has come.
    void TimeASyncTimer();

    int PendingDetails() const { return int(m_detail.items.size()); }
    int PendingPhotos() const { return int(m_photo.items.size()); }

    DoneEvent OnDetailDone;
    DoneEvent OnPhotoDone;

private:
    struct Queue {
        std::deque<TDownloadItem> items;
        bool hasCurrent = false; // the front item is current
        QPointer<QNetworkReply> reply;
        QByteArray body;
        bool refused = false;
        qint64 maxBytes = 0;
        QByteArray agent;
        bool isDetail = false;
    };

    bool Enqueue(Queue& queue, TDownloadItem item);
    void StartNext(Queue& queue);
    void WakeAt(int delayMs);
    void Poll(Queue& queue);
    void OnReadyRead(Queue& queue);
    void OnFinished(Queue& queue, QNetworkReply* reply);
    static void Drop(Queue& queue);
    static bool SaveBody(const QString& fileName, const QByteArray& body);

    QString m_detailFolder;
    QString m_photoFolder;
    int m_lane = 0;
    int m_transferTimeoutMs = DefaultTransferTimeoutMs;
    QNetworkAccessManager m_http;
    QTimer m_poll;
    Queue m_detail;
    Queue m_photo;
};

} // namespace qev
