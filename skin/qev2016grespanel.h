#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace qev {

// A window of a shared image: a background, or one cell of a strip chosen by its source offset.
class TQEV2016GResPanel : public QWidget {
    Q_OBJECT
public:
    explicit TQEV2016GResPanel(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    const QImage& Image() const { return m_image; }
    void SetSourceX(int x);
    int SourceX() const { return m_sourceX; }
    void SetSourceY(int y);
    int SourceY() const { return m_sourceY; }
    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    int m_sourceX = 0;
    int m_sourceY = 0;
    QColor m_color = Qt::white;
};

} // namespace qev
