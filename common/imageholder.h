#pragma once

#include <QImage>
#include <QSize>
#include <QtGlobal>

namespace qev {

// One photo slot: the pictures of one lot of one lane, already scaled for the views.
// The images keep their sizes for the slot's whole life; loaders copy into them.
class TImageHolder {
public:
    static constexpr QSize MainSize{430, 322};
    static constexpr QSize ThumbnailSize{160, 120};
    static constexpr QSize LargeSize{512, 512};
    // 12632256 as a Windows colour value: silver.
    static constexpr QRgb ClearColour = 0xFFC0C0C0;

    TImageHolder();

    // The car photo (main and thumbnail) and the exhibit card (large).
    QImage& Main() { return m_main; }
    QImage& Thumbnail() { return m_thumbnail; }
    QImage& Large() { return m_large; }
    const QImage& Main() const { return m_main; }
    const QImage& Thumbnail() const { return m_thumbnail; }
    const QImage& Large() const { return m_large; }

    // Fills main and thumbnail with silver and marks them as needing a load.
    void ClearMain();
    // Fills the large picture with silver and marks it as needing a load.
    void ClearLarge();

    bool MainNeedsLoading() const { return m_mainNeedsLoading; }
    bool LargeNeedsLoading() const { return m_largeNeedsLoading; }
    void SetMainLoaded() { m_mainNeedsLoading = false; }
    void SetLargeLoaded() { m_largeNeedsLoading = false; }

    // The key: site number, lot number and lane index of the pictures held.
    int SiteKey() const { return m_site; }
    int LotNumber() const { return m_lot; }
    int LaneIndex() const { return m_lane; }
    bool HasKey(int site, int lot, int lane) const {
        return m_site == site && m_lot == lot && m_lane == lane;
    }
    void SetKey(int site, int lot, int lane);

    // Milliseconds since the epoch of the last use; 0 when never used.
    qint64 LastUse() const { return m_lastUse; }
    void SetLastUse(qint64 ms) { m_lastUse = ms; }

private:
    QImage m_main;
    QImage m_thumbnail;
    QImage m_large;
    int m_site = 0;
    int m_lot = 0;
    int m_lane = -1; // no lane: a fresh slot matches no key
    qint64 m_lastUse = 0;
    bool m_mainNeedsLoading = true;
    bool m_largeNeedsLoading = true;
};

} // namespace qev
