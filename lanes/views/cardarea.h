#pragma once

#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

namespace qev {

class TPictureBox;
class TQEV2016Panel;

// The exhibit card area of a lane view: the card (auction sheet) drawn square in the area and,
// when the lot has a correction, the correction band over the area's bottom strip with a red
// outline round the card. Both controls are children of the view (Qt owns them).
class TCardArea {
public:
    static constexpr int kBandHeight = 29;

    TCardArea(QWidget* panel, const QRect& area);

    // Trims the text, shows it in the band and redraws.
    void SetCorrectionText(const QString& text);
    // Copies the card (or forgets it when null) and redraws.
    void SetCardPicture(const QImage* card);
    void Clear();
    void Draw();

    // Where the card goes in an area of w × h: the square below the band when there is a correction.
    static QRect CardSquare(int w, int h, bool correction);

    const QString& CorrectionText() const { return m_correction; }
    bool CardPresent() const { return m_cardPresent; }
    const QRect& Area() const { return m_area; }
    TPictureBox& Picture() { return *m_image; }
    TQEV2016Panel& Band() { return *m_band; }

private:
    QRect m_area;
    TPictureBox* m_image;
    TQEV2016Panel* m_band;
    QImage m_card;
    QImage m_stretched; // the card at the last square side, so redraws do not rescale
    bool m_cardPresent = false;
    QString m_correction;
};

} // namespace qev
