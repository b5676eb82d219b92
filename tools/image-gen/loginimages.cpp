#include "loginimages.h"

#include <QLinearGradient>

namespace qev::art {

namespace {

const QColor kCard(24, 124, 186);

QImage Background() {
    QImage image = NewImage(1024, 730, kBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(0, 41, 0, 600);
    g.setColorAt(0, kBlue.darker(112));
    g.setColorAt(1, kBlue);
    p.fillRect(QRect(0, 41, 1024, 560), g);
    // The sign-in card: ID and password fields, the save box and its label.
    Field(p, QRectF(60, 60, 904, 150), kCard, kNavy, 10);
    Text(p, QRectF(80, 64, 300, 30), QStringLiteral("ログイン"), Gothic(20), kLightBlue,
         Qt::AlignLeft | Qt::AlignVCenter);
    Text(p, QRectF(80, 98, 170, 33), QStringLiteral("ID"), Gothic(22), Qt::white,
         Qt::AlignRight | Qt::AlignVCenter);
    Text(p, QRectF(80, 156, 170, 33), QStringLiteral("パスワード"), Gothic(22), Qt::white,
         Qt::AlignRight | Qt::AlignVCenter);
    Field(p, QRectF(258, 98, 346, 33), Qt::white, kNavy, 4);
    Field(p, QRectF(258, 156, 346, 33), Qt::white, kNavy, 4);
    Text(p, QRectF(677, 154, 224, 37), QStringLiteral("IDとパスワードを保存"), Gothic(19), Qt::white,
         Qt::AlignLeft | Qt::AlignVCenter);
    // The notice page's place.
    Text(p, QRectF(85, 226, 300, 28), QStringLiteral("お知らせ"), Gothic(20), Qt::white,
         Qt::AlignLeft | Qt::AlignVCenter);
    Field(p, QRectF(82, 254, 858, 336), Qt::white, kNavy, 4);
    // The buttons' row.
    p.fillRect(QRect(0, 600, 1024, 130), kBlue);
    p.fillRect(QRect(0, 600, 1024, 2), kNavy);
    return image;
}

QImage CheckBox() {
    return Strip(
        37, 37, 1, 4,
        [](QPainter& p, const QRect& cell, int, int row) {
            p.fillRect(cell, kCard);
            p.setRenderHint(QPainter::Antialiasing, true);
            const QRectF box = QRectF(cell).adjusted(5, 5, -5, -5);
            const QColor fill = row == 3 ? kDisabledFill : QColor(Qt::white);
            const QColor border = row == 1   ? QColor(255, 220, 60)
                                  : row == 3 ? kDisabledFill.darker(120)
                                             : kNavy;
            p.setPen(QPen(border, row == 1 ? 3 : 1.5));
            p.setBrush(fill);
            p.drawRoundedRect(box, 4, 4);
            if (row == 2) {
                p.setPen(QPen(kDeepBlue, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                const QPointF pts[] = {box.topLeft() + QPointF(5, 14), box.topLeft() + QPointF(11, 21),
                                       box.topLeft() + QPointF(22, 6)};
                p.drawPolyline(pts, 3);
            }
        },
        kCard);
}

QImage LoginButton(int w, const QString& title, const QString& sub, const QColor& base) {
    return Strip(
        w, 98, 1, 3,
        [&](QPainter& p, const QRect& cell, int, int row) {
            p.fillRect(cell, kBlue);
            const State s = row == 0 ? State::Normal : row == 1 ? State::Pressed : State::Disabled;
            const QRectF face = QRectF(cell).adjusted(4, 6, -4, -6);
            ButtonFace(p, face, QString(), Gothic(26), s, base);
            const QColor ink = s == State::Disabled ? kDisabledText : QColor(Qt::white);
            const qreal dy = s == State::Pressed ? 1 : 0;
            if (sub.isEmpty()) {
                FitText(p, face.translated(0, dy).adjusted(8, 0, -8, 0), title, Gothic(30), ink);
            } else {
                FitText(p, QRectF(face.left() + 8, face.top() + 10 + dy, face.width() - 16, 40), title,
                        Gothic(30), ink);
                FitText(p, QRectF(face.left() + 8, face.top() + 50 + dy, face.width() - 16, 26), sub,
                        Gothic(18), ink);
            }
        },
        kBlue);
}

} // namespace

QList<Named> LoginImages() {
    return {
        {QStringLiteral("LOGIN"), Background()},
        {QStringLiteral("LOGIN_CHECKBOX"), CheckBox()},
        {QStringLiteral("BUTTON_LOGIN4ONELANEMODE"),
         LoginButton(308, QStringLiteral("1レーン表示"), QStringLiteral("でログイン"), QColor(236, 120, 20))},
        {QStringLiteral("BUTTON_LOGIN4TWOLANEMODE"),
         LoginButton(308, QStringLiteral("2レーン表示"), QStringLiteral("でログイン"), QColor(40, 150, 80))},
        {QStringLiteral("BUTTON_LOGIN_CLOSE"),
         LoginButton(201, QStringLiteral("終了"), QString(), QColor(90, 100, 112))},
    };
}

} // namespace qev::art
