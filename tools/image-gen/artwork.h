#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>

namespace qev::art {

// One look for every picture: the window blue, a deep blue for labels, white fields.
inline const QColor kBlue(32, 149, 211);
inline const QColor kDeepBlue(0, 106, 182);
inline const QColor kNavy(12, 58, 110);
inline const QColor kLightBlue(219, 238, 245);
inline const QColor kFieldBorder(120, 170, 205);
inline const QColor kAlarmYellow(255, 253, 101);
inline const QColor kReportYellow(255, 254, 193);
inline const QColor kSilver(192, 192, 192);
inline const QColor kRed(214, 38, 38);
inline const QColor kGreen(46, 170, 72);
inline const QColor kAmber(245, 190, 20);
inline const QColor kDigit(10, 40, 90);
inline const QColor kDisabledFill(170, 178, 186);
inline const QColor kDisabledText(226, 230, 234);

enum class State { Normal, Pressed, Disabled };

struct Named {
    QString name;
    QImage image;
};

QImage NewImage(int w, int h, const QColor& fill);
// The fixed-pitch (IPAGothic) or proportional (IPAPGothic) Japanese face at a pixel size.
QFont Gothic(int px, bool bold = true, bool proportional = true);
// A sans face for large digits.
QFont DigitFont(int px);
void Text(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& color,
          Qt::Alignment align = Qt::AlignCenter);
// A text squeezed horizontally when wider than the box.
void FitText(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& color);
void Field(QPainter& p, const QRectF& r, const QColor& fill, const QColor& border, qreal radius = 3);
// A rounded button face in the given state with its label.
void ButtonFace(QPainter& p, const QRectF& r, const QString& label, const QFont& font, State state,
                const QColor& base);
void Bell(QPainter& p, const QRectF& r, const QColor& color);
// Cells stacked in rows (one per state) or side by side.
QImage Strip(int cellW, int cellH, int cols, int rows,
             const std::function<void(QPainter&, const QRect&, int col, int row)>& drawCell,
             const QColor& background);

} // namespace qev::art
