// Lot pages and photos as they arrive, and the won-bid reports waiting for the user.
#include "app/centerform.h"
#include "common/texthelpers.h"
#include "lanes/views/ttrrframe.h"

#include <QFile>

namespace qev {

QUrl TCenterForm::DetailUrl(int lane, int site, int exhibit) const {
    const QByteArray base = m_session->CurrentSite().DetailUrlBase(lane);
    return QUrl(QString::fromLatin1(base) + QStringLiteral("%1/%2/%3.html")
                                                .arg(site, 4, 10, QLatin1Char('0'))
                                                .arg(lane + 1)
                                                .arg(exhibit, 5, 10, QLatin1Char('0')));
}

QUrl TCenterForm::ImageUrl(int lane, int site, const QByteArray& folder, int exhibit,
                           const QByteArray& ext) const {
    const QByteArray base = m_session->CurrentSite().PhotoUrlBase(lane);
    return QUrl(QString::fromLatin1(base) + QStringLiteral("%1/%2/%3%4")
                                                .arg(site, 4, 10, QLatin1Char('0'))
                                                .arg(QString::fromLatin1(folder))
                                                .arg(exhibit, 4, 10, QLatin1Char('0'))
                                                .arg(QString::fromLatin1(ext)));
}

void TCenterForm::FetchLotPages(int lane, int site, int e, int n, int f) {
    LaneSession* l = Lane(lane);
    if (!l || !l->fetch || !m_session->HasCurrentSite())
        return;
    TProcsDm& dm = *m_session;
    for (int lot : {e, n, f})
        if (lot != 0)
            l->fetch->QueueDetail(site, lot, 0, DetailUrl(lane, site, lot),
                                  RandomInRange(dm.DetailDelayBase(), dm.DetailDelaySpread()));
    const TSiteInfo& s = dm.CurrentSite();
    for (int lot : {e, n, f}) {
        if (lot == 0)
            continue;
        l->fetch->QueuePhoto(site, lot, 1, QString::fromLatin1(s.CardPhotoExtension),
                             ImageUrl(lane, site, dm.CardPhotoFolder(), lot, s.CardPhotoExtension),
                             RandomInRange(dm.PhotoDelayBase(), dm.PhotoDelaySpread()));
        l->fetch->QueuePhoto(site, lot, 0, QString::fromLatin1(s.CarPhotoExtension),
                             ImageUrl(lane, site, dm.CarPhotoFolder(), lot, s.CarPhotoExtension),
                             RandomInRange(dm.PhotoDelayBase(), dm.PhotoDelaySpread()));
    }
}

void TCenterForm::PrefetchLot(int lane, int site, int lot) {
    if (lot != 0)
        FetchLotPages(lane, site, lot, 0, 0);
}

void TCenterForm::DetailDone(int lane, int site, int exhibit, int status, const QString& path) {
    if (status == 200)
        DetailArrived(lane, path, exhibit, site);
}

void TCenterForm::PhotoDone(int lane, int kind, int site, int exhibit, const QString& path) {
    if (m_session->HasCurrentSite() && site == m_session->CurrentSiteNumber() &&
        (exhibit == m_session->LaneExhibit(lane) || exhibit == m_session->LaneNextExhibit(lane)))
        LoadLotImage(lane, kind, path, exhibit, site);
}

void TCenterForm::DetailArrived(int lane, const QString& path, int lot, int site) {
    LaneSession* l = Lane(lane);
    if (!l || !m_session->HasCurrentSite() || m_session->CurrentSiteNumber() != site)
        return;
    if (m_session->LaneExhibit(lane) == lot && !l->lotShown) {
        PointViewsAt(lane, site, lot);
        l->lotShown = true;
        if (l->lotActive && l->messageKind != mtSold)
            ShowLaneMessage(mtNone, lane);
        if (!CountLot(lane, lot))
            return;
        m_session->SetLaneMark(lane, false);
        BothViews(lane, [](TTrrFrame& v) {
            v.UpdateBidButton();
            v.SetPriceStyle(1);
            v.SetGauge(0);
        });
        l->current = TLotRecord::FromFile(path);
        l->exhibitorCode = l->current.ExhibitorCode();
        ShowCurrentRecord(lane, false);
        const TSiteInfo& s = m_session->CurrentSite();
        LoadLotImage(lane, 1,
                     l->fetch->PhotoFileName(site, lot, QString::fromLatin1(s.CardPhotoExtension), 1), lot,
                     site);
        LoadLotImage(lane, 0, l->fetch->PhotoFileName(site, lot, QString::fromLatin1(s.CarPhotoExtension), 0),
                     lot, site);
        BothViews(lane, [](TTrrFrame& v) { v.UpdateBidButton(); });
    }
    if (m_session->LaneNextExhibit(lane) == lot && QFile::exists(path)) {
        l->next = TLotRecord::FromFile(path);
        BothViews(lane, [l, lane](TTrrFrame& v) { v.ShowNextLot(lane, &l->next, false, false); });
    }
}

void TCenterForm::LoadLotImage(int lane, int kind, const QString& path, int lot, int site) {
    const TImageHolder& slot = m_imageLoader.LoadLotImage(lane, kind, path, lot, site);
    BothViews(lane, [kind, &slot](TTrrFrame& v) { v.ShowPhoto(kind, slot); });
}

void TCenterForm::ConfirmationRequest(int lane, int site, int exhibit, int price) {
    const std::array<int, 4> key{lane, site, exhibit, price};
    if (std::find(m_confirmations.begin(), m_confirmations.end(), key) == m_confirmations.end())
        m_confirmations.push_back(key);
}

void TCenterForm::Confirm(int lane, int site, int exhibit, int price) {
    const std::array<int, 4> key{lane, site, exhibit, price};
    const auto it = std::find(m_confirmations.begin(), m_confirmations.end(), key);
    if (it == m_confirmations.end())
        return;
    // A confirmation that did not go (the lane's channel is closed) stays pending with its report
    // open, so the dealer can press again once the lane is back; it is never dropped unsent.
    if (!m_session->SendConfirmation(lane, site, exhibit, price, "C")) {
        m_log.WriteLog(QStringLiteral("Confirmation not sent: lane %1 lot %2").arg(lane).arg(exhibit));
        return;
    }
    EveryView([&key](TTrrFrame& v) { v.CloseReport(key[0], key[1], key[2], key[3]); });
    m_confirmations.erase(std::find(m_confirmations.begin(), m_confirmations.end(), key));
}

void TCenterForm::AnswerPendingConfirmations() {
    for (const auto& c : m_confirmations)
        m_session->SendConfirmation(c[0], c[1], c[2], c[3], "N");
    m_confirmations.clear();
}

} // namespace qev
