#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace qev {

// The lane's current price in large digits drawn from picture strips: value / 10 with one
// decimal, then the unit 万円, optionally the 権利 mark. It draws into a back buffer of its own
// size whenever the value or look changes and paints by copying it, so it never flickers.
class TQEV2016PricePanel : public QWidget {
    Q_OBJECT
public:
    // Geometry of one digit set (pictures loaded by name).
    struct DigitSet {
        const char* numbers;
        const char* period;
        const char* mark;
        int cellWidth;
        QSize panelSize;
        QPoint digits;
        QPoint markAt;
    };
    static const DigitSet kOneLaneSet;
    static const DigitSet kTwoLaneSet;

    explicit TQEV2016PricePanel(QWidget* parent = nullptr);

    // v in thousands of yen; any negative value means no price.
    void SetValue(int v);
    int Value() const { return m_value; }
    void Refresh();
    void SetOneLane(bool oneLane);
    bool OneLane() const { return m_oneLane; }
    void SetMark(bool on);
    bool Mark() const { return m_mark; }

    // The text last drawn (five characters, more for six digits and up).
    QString LastText() const { return m_lastText; }
    const QImage& BackBuffer() const { return m_buffer; }
    const DigitSet& Set() const { return m_oneLane ? kOneLaneSet : kTwoLaneSet; }

    // The characters drawn for v: five, right-aligned ("   07" for 7, "    0" for 0).
    static QString PriceText(int v);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void SelectSet(bool oneLane);
    void Draw(int v);
    // Draws text's digits and point starting at x; returns the x after the point and digits.
    int DrawDigits(QImage& target, const QString& text, int x, int top, bool point) const;

    bool m_oneLane = true;
    int m_value = -1;
    bool m_mark = false;
    QImage m_buffer;
    QImage m_numbers;
    QImage m_period;
    QImage m_markImage;
    QString m_lastText;
};

} // namespace qev
