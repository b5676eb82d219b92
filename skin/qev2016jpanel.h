#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <limits>

namespace qev {

// One line of anti-aliased text, aligned left, right or centred, over a plain colour or over the
// part of a shared image that lies behind the panel. The text's own rectangle keeps the panel
// colour. The image is shared (implicitly shared QImage), never changed here.
class TQEV2016JPanel : public QWidget {
    Q_OBJECT
public:
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
    // Either of these as text top centres the text vertically.
    static constexpr int kCentreHigh = std::numeric_limits<int>::max();
    static constexpr int kCentreLow = std::numeric_limits<int>::min();

    explicit TQEV2016JPanel(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetBackImage(const QImage& image);
    const QImage& BackImage() const { return m_backImage; }
    void SetUseBackImage(bool on);
    bool UseBackImage() const { return m_useBackImage; }
    void SetBackFromOrigin(bool on);
    bool BackFromOrigin() const { return m_backFromOrigin; }
    void SetSmoothFont(bool on);
    bool SmoothFont() const { return m_smoothFont; }
    void SetCharExtra(int extra);
    int CharExtra() const { return m_charExtra; }
    void SetAlignment(int alignment);
    int Alignment() const { return m_alignment; }
    void SetTextTop(int top);
    int TextTop() const { return m_textTop; }
    void SetAutoSizeToText(bool on);
    bool AutoSizeToText() const { return m_autoSize; }
    void SetBorderColor(const QColor& color);
    QColor BorderColor() const { return m_borderColor; }
    void SetColor(const QColor& color);
    QColor Color() const { return m_color; }
    void SetFontColor(const QColor& color);
    QColor FontColor() const { return m_fontColor; }

    // Where the text image goes for the current size, text and settings.
    QPoint TextPosition() const;
    QImage TextImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool HasBackImage() const { return m_useBackImage && !m_backImage.isNull(); }
    void ApplySmoothing();

    QString m_text;
    QImage m_backImage;
    bool m_useBackImage = true;
    bool m_backFromOrigin = false;
    bool m_smoothFont = true;
    int m_charExtra = 0;
    int m_alignment = AlignLeft;
    int m_textTop = 0;
    bool m_autoSize = false;
    QColor m_borderColor;
    QColor m_color = Qt::white;
    QColor m_fontColor = Qt::black;
    bool m_settingFont = false;
};

} // namespace qev
