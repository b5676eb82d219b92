#pragma once

#include <QImage>
#include <QWidget>

namespace qev {

// The three-segment bid gauge: level 3 lights the left (green) third, 2 the middle (yellow),
// 1 the right (red), 0 none. Only one segment is ever lit.
class TAuctionGauge : public QWidget {
    Q_OBJECT
public:
    explicit TAuctionGauge(QWidget* parent = nullptr);

    void SetBitmapOn(const QImage& image);
    const QImage& BitmapOn() const { return m_on; }
    void SetBitmapOff(const QImage& image);
    const QImage& BitmapOff() const { return m_off; }
    // Levels outside 0..3 and the current level are ignored.
    void SetValue(int v);
    int Value() const { return m_value; }

    // What the gauge shows for its size and level.
    QImage Compose() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_on;
    QImage m_off;
    int m_value = 0;
};

} // namespace qev
