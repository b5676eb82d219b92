#include "laneimages.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace qev::art {

namespace {

const QColor kFrame = kBlue;

void Label(QPainter& p, const QRectF& r, const QString& text, int px) {
    Field(p, r, kDeepBlue, kNavy, 4);
    FitText(p, r.adjusted(3, 0, -3, 0), text, Gothic(px), Qt::white);
}

void White(QPainter& p, const QRectF& r) {
    Field(p, r.adjusted(-1, -1, 1, 1), Qt::white, kFieldBorder, 2);
}

void LaneBadge(QPainter& p, const QRectF& r, QChar lane, int letterPx) {
    Field(p, r, kNavy, kNavy.darker(130), 5);
    const qreal letterH = r.height() * 0.62;
    Text(p, QRectF(r.left(), r.top() + 1, r.width(), letterH), QString(lane), DigitFont(letterPx), Qt::white);
    Text(p, QRectF(r.left(), r.top() + letterH - 1, r.width(), r.height() - letterH),
         QStringLiteral("レーン"), Gothic(qMax(9, letterPx / 2 - 1)), kLightBlue);
}

void BellRow(QPainter& p, const QRectF& r, QChar lane) {
    Field(p, r, kDeepBlue, kNavy, 4);
    Bell(p, QRectF(r.left() + 4, r.top() + 5, r.height() - 10, r.height() - 10), kAlarmYellow);
    Text(p, QRectF(r.left() + r.height() - 4, r.top(), r.width() - r.height() + 2, r.height()), QString(lane),
         DigitFont(18), Qt::white);
}

void FrameBackground(QPainter& p, const QRect& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kFrame.lighter(108));
    g.setColorAt(1, kFrame.darker(108));
    p.fillRect(r, g);
}

// Lane A's or B's half of the one-lane frame (990 x 670); 'other' is the other lane's letter.
void OneLaneHalf(QPainter& p, int x0, QChar lane, QChar other) {
    p.save();
    p.translate(x0, 0);
    p.setRenderHint(QPainter::Antialiasing, true);
    FrameBackground(p, QRect(0, 0, 990, 670));
    LaneBadge(p, QRectF(16, 11, 55, 37), lane, 22);
    White(p, QRectF(74, 11, 900, 37)); // exhibit number, car line, alarm badge
    White(p, QRectF(16, 59, 290, 36)); // message strip and gauge
    White(p, QRectF(16, 96, 291, 66)); // price
    Label(p, QRectF(16, 165, 112, 38), QStringLiteral("評価"), 22);
    Field(p, QRectF(131, 164, 171, 40), kLightBlue, kFieldBorder, 3);
    Text(p, QRectF(308, 163, 68, 17), QStringLiteral("外装"), Gothic(14), Qt::white);
    Text(p, QRectF(380, 163, 66, 17), QStringLiteral("内装"), Gothic(14), Qt::white);
    White(p, QRectF(308, 181, 68, 22));
    White(p, QRectF(380, 181, 66, 22));
    Field(p, QRectF(15, 203, 432, 324), kSilver, kFieldBorder, 2); // photo
    White(p, QRectF(462, 58, 512, 512));                           // exhibit card
    Label(p, QRectF(16, 538, 77, 27), QStringLiteral("次出品"), 16);
    White(p, QRectF(96, 538, 345, 27));
    LaneBadge(p, QRectF(16, 589, 62, 34), other, 18);
    White(p, QRectF(82, 589, 59, 34));
    White(p, QRectF(144, 589, 661, 34));
    BellRow(p, QRectF(16, 634, 62, 35), lane);
    Field(p, QRectF(81, 633, 402, 37), kAlarmYellow, kAmber.darker(120), 3);
    BellRow(p, QRectF(516, 634, 62, 35), other);
    Field(p, QRectF(581, 633, 402, 37), kAlarmYellow, kAmber.darker(120), 3);
    p.restore();
}

// Lane A's or B's half of the two-lane frame (490 x 670).
void TwoLaneHalf(QPainter& p, int x0, QChar lane) {
    p.save();
    p.translate(x0, 0);
    p.setRenderHint(QPainter::Antialiasing, true);
    FrameBackground(p, QRect(0, 0, 490, 670));
    LaneBadge(p, QRectF(8, 8, 67, 43), lane, 26);
    White(p, QRectF(78, 8, 405, 43));
    Field(p, QRectF(7, 58, 162, 122), kSilver, kFieldBorder, 2); // photo
    White(p, QRectF(169, 59, 215, 33));
    White(p, QRectF(169, 93, 215, 52));
    Label(p, QRectF(169, 146, 65, 33), QStringLiteral("評価"), 18);
    Field(p, QRectF(236, 145, 149, 35), kLightBlue, kFieldBorder, 3);
    Text(p, QRectF(389, 146, 44, 14), QStringLiteral("外装"), Gothic(12), Qt::white);
    Text(p, QRectF(438, 146, 44, 14), QStringLiteral("内装"), Gothic(12), Qt::white);
    White(p, QRectF(389, 160, 44, 19));
    White(p, QRectF(438, 160, 44, 19));
    White(p, QRectF(7, 182, 476, 390));
    Label(p, QRectF(8, 589, 71, 34), QStringLiteral("次出品"), 16);
    White(p, QRectF(82, 589, 400, 34));
    BellRow(p, QRectF(8, 634, 71, 35), lane);
    Field(p, QRectF(81, 633, 402, 37), kAlarmYellow, kAmber.darker(120), 3);
    p.restore();
}

QImage OneLaneBase() {
    QImage image = NewImage(1980, 670, kFrame);
    QPainter p(&image);
    OneLaneHalf(p, 0, QLatin1Char('A'), QLatin1Char('B'));
    OneLaneHalf(p, 990, QLatin1Char('B'), QLatin1Char('A'));
    return image;
}

QImage TwoLaneBase() {
    QImage image = NewImage(980, 670, kFrame);
    QPainter p(&image);
    TwoLaneHalf(p, 0, QLatin1Char('A'));
    TwoLaneHalf(p, 490, QLatin1Char('B'));
    return image;
}

// The round bid button's circle inside a cell of w x h.
struct Disc {
    QPointF centre;
    qreal radius;
};

Disc BidDisc(int w, int h) {
    return {QPointF(w / 2.0, h / 2.0), qMin(w, h) / 2.0 - 2.5};
}

QImage BidButton(int w, int h, int px) {
    const Disc d = BidDisc(w, h);
    return Strip(
        w, h, 1, 3,
        [&](QPainter& p, const QRect& cell, int, int row) {
            p.fillRect(cell, kFrame);
            p.setRenderHint(QPainter::Antialiasing, true);
            const QPointF c = cell.topLeft() + d.centre + QPointF(0, row == 1 ? 1 : 0);
            QColor body = kRed;
            if (row == 1)
                body = kRed.darker(130);
            if (row == 2)
                body = kDisabledFill;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255));
            p.drawEllipse(c, d.radius, d.radius);
            QRadialGradient g(c - QPointF(d.radius * 0.3, d.radius * 0.35), d.radius * 1.3);
            g.setColorAt(0, body.lighter(row == 1 ? 115 : 140));
            g.setColorAt(1, body.darker(115));
            p.setBrush(g);
            p.drawEllipse(c, d.radius - 3, d.radius - 3);
            const QColor ink = row == 2 ? kDisabledText : QColor(Qt::white);
            Text(p, QRectF(c.x() - d.radius, c.y() - d.radius, 2 * d.radius, 2 * d.radius),
                 QStringLiteral("応札"), Gothic(px, true, false), ink);
        },
        kFrame);
}

QImage BidMask(int w, int h) {
    const Disc d = BidDisc(w, h);
    QImage image = NewImage(w, h, Qt::black);
    QPainter p(&image);
    // Hard edges: every pixel is black or white.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(d.centre, d.radius, d.radius);
    return image;
}

QImage Messages(int w, int h, int px) {
    struct Look {
        QString text;
        QColor fill;
    };
    const Look looks[] = {{QString(), Qt::white},
                          {QStringLiteral("スタート"), kGreen},
                          {QStringLiteral("売りきり"), QColor(236, 130, 20)},
                          {QStringLiteral("落札"), kRed},
                          {QStringLiteral("流れ"), QColor(110, 118, 128)}};
    return Strip(
        w, h, 1, 5,
        [&](QPainter& p, const QRect& cell, int, int row) {
            p.fillRect(cell, Qt::white);
            if (row == 0)
                return;
            Field(p, QRectF(cell).adjusted(2, 2, -2, -2), looks[row].fill, looks[row].fill.darker(130), 5);
            FitText(p, QRectF(cell).adjusted(6, 0, -6, 0), looks[row].text, Gothic(px), Qt::white);
        },
        Qt::white);
}

QImage Gauge(int w, int h, bool on) {
    QImage image = NewImage(w, h, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const int t = w / 3;
    const QColor colours[] = {kGreen, kAmber, kRed};
    for (int i = 0; i < 3; ++i) {
        const QRectF seg(i * t + 2, 3, t - 4, h - 6);
        const QColor c = on ? colours[i] : colours[i].darker(260);
        QLinearGradient g(seg.topLeft(), seg.bottomLeft());
        g.setColorAt(0, on ? c.lighter(135) : c.lighter(115));
        g.setColorAt(1, on ? c : c.darker(110));
        p.setPen(QPen(on ? c.darker(140) : QColor(40, 40, 40), 1));
        p.setBrush(g);
        p.drawRoundedRect(seg, 5, 5);
        if (on) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 80));
            p.drawRoundedRect(seg.adjusted(3, 2, -3, -seg.height() / 2), 3, 3);
        }
    }
    return image;
}

QImage LaneSwitch(QChar target) {
    return Strip(
        175, 33, 1, 3,
        [&](QPainter& p, const QRect& cell, int, int row) {
            p.fillRect(cell, kFrame);
            const State s = row == 0 ? State::Normal : row == 1 ? State::Pressed : State::Disabled;
            ButtonFace(p, QRectF(cell), QString(target) + QStringLiteral("レーンへ切替 ▶"), Gothic(16), s,
                       kNavy);
        },
        kFrame);
}

QImage ConfirmBox() {
    QImage image = NewImage(391, 345, kFrame);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    Field(p, QRectF(1, 1, 389, 343), Qt::white, kNavy, 10);
    QLinearGradient g(0, 8, 0, 88);
    g.setColorAt(0, QColor(255, 120, 60));
    g.setColorAt(1, kRed);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(10, 10, 371, 84), 8, 8);
    FitText(p, QRectF(20, 14, 351, 76), QStringLiteral("落札おめでとうございます"), Gothic(27), Qt::white);
    Field(p, QRectF(70, 112, 254, 76), kReportYellow, kAmber, 6);
    return image;
}

QImage ConfirmButton() {
    return Strip(
        250, 60, 1, 3,
        [&](QPainter& p, const QRect& cell, int, int row) {
            p.fillRect(cell, Qt::white);
            const State s = row == 0 ? State::Normal : row == 1 ? State::Pressed : State::Disabled;
            ButtonFace(p, QRectF(cell).adjusted(4, 3, -4, -3), QStringLiteral("確認しました"), Gothic(22), s,
                       kDeepBlue);
        },
        Qt::white);
}

QImage AlarmBadge() {
    QImage image = NewImage(73, 76, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    Field(p, QRectF(2, 40, 69, 34), QColor(255, 140, 0), QColor(200, 90, 0), 6);
    Bell(p, QRectF(5, 45, 24, 24), Qt::white);
    Text(p, QRectF(28, 40, 42, 34), QStringLiteral("注目"), Gothic(17), Qt::white);
    return image;
}

} // namespace

QList<Named> LaneImages() {
    return {
        {QStringLiteral("0_CONFIRM_BOX"), ConfirmBox()},
        {QStringLiteral("0_CONFIRM_BUTTON"), ConfirmButton()},
        {QStringLiteral("0_ALARM"), AlarmBadge()},
        {QStringLiteral("1_BASE"), OneLaneBase()},
        {QStringLiteral("1_BIDBUTTON"), BidButton(139, 103, 30)},
        {QStringLiteral("1_BIDBUTTON_MASK"), BidMask(139, 103)},
        {QStringLiteral("1_MESSAGE"), Messages(140, 36, 22)},
        {QStringLiteral("1_GAUGE_ON"), Gauge(150, 36, true)},
        {QStringLiteral("1_GAUGE_OFF"), Gauge(150, 36, false)},
        {QStringLiteral("1_BUTTON_ALANE"), LaneSwitch(QLatin1Char('A'))},
        {QStringLiteral("1_BUTTON_BLANE"), LaneSwitch(QLatin1Char('B'))},
        {QStringLiteral("2_BASE"), TwoLaneBase()},
        {QStringLiteral("2_BIDBUTTON"), BidButton(97, 86, 24)},
        {QStringLiteral("2_BIDBUTTON_MASK"), BidMask(97, 86)},
        {QStringLiteral("2_MESSAGE"), Messages(103, 33, 19)},
        {QStringLiteral("2_GAUGE_ON"), Gauge(111, 33, true)},
        {QStringLiteral("2_GAUGE_OFF"), Gauge(111, 33, false)},
    };
}

} // namespace qev::art
