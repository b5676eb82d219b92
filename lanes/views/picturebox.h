#pragma once

#include <QImage>
#include <QWidget>

namespace qev {

// A picture control: paints its own bitmap from (0, 0) and never erases behind it.
class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    QImage& Picture() { return m_picture; }
    const QImage& Picture() const { return m_picture; }
    // Sizes the bitmap to the control and fills it light grey.
    void ClearPicture();
    // Copies source into the bitmap at (0, 0); the rest keeps what it had.
    void CopyFrom(const QImage& source);

    static constexpr QRgb kClearColour = 0xFFF2F2F2;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace qev
