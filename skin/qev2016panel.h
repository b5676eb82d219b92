#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

namespace qev {

// One line of anti-aliased text on a plain colour, with an optional border. A text wider than
// the panel is shown with the separator appended and clipped at the right edge.
class TQEV2016Panel : public QWidget {
    Q_OBJECT
public:
    explicit TQEV2016Panel(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetCharExtra(int extra);
    int CharExtra() const { return m_charExtra; }
    void SetBorder(bool on);
    bool Border() const { return m_border; }
    void SetBorderColor(const QColor& color);
    QColor BorderColor() const { return m_borderColor; }
    void SetBorderWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void SetTextOffset(int offset);
    int TextOffset() const { return m_textOffset; }
    void SetSeparator(const QString& separator);
    QString Separator() const { return m_separator; }
    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }
    void SetFontColor(const QColor& color);
    QColor FontColor() const { return m_fontColor; }

    // Layout results (laid out on demand).
    const QImage& TextImage();
    int TextTop();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Layout();
    void Invalidate();

    QString m_text;
    int m_charExtra = 0;
    bool m_border = false;
    QColor m_borderColor;
    int m_borderWidth = 1;
    int m_textOffset = 0;
    QString m_separator = QStringLiteral(" ");
    QColor m_color = Qt::white;
    QColor m_fontColor = Qt::black;
    QImage m_textImage;
    int m_textTop = 0;
    bool m_laidOut = false;
    bool m_settingFont = false;
};

} // namespace qev
