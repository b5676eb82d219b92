// Renders each skinned component in each of its states offscreen, one PNG per subject.
#include "common/clock.h"
#include "lanes/widgets/auctiongauge.h"
#include "lanes/widgets/qev2016pricepanel.h"
#include "skin/fontsetup.h"
#include "skin/qev2016grespanel.h"
#include "skin/qev2016header.h"
#include "skin/qev2016jpanel.h"
#include "skin/qev2016jresbutton.h"
#include "skin/qev2016orgresbutton.h"
#include "skin/qev2016panel.h"
#include "skin/qev2016resbutton.h"
#include "skin/resbutton.h"
#include "skin/skinimages.h"
#include "tools/skin-gallery/gallery.h"

#include <QApplication>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

using namespace qev;

namespace {

QFont Face(const char* family, int px, bool bold) {
    QFont f(QString::fromUtf8(family));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// Every row of a strip button: normal, pressed, disabled (and down where there is one).
void ButtonRows(Gallery& g, const QString& strip, int width, int cols, int index, const QString& name) {
    std::vector<std::unique_ptr<TResButton>> keep;
    QList<QWidget*> shots;
    const QStringList captions = {QStringLiteral("normal"), QStringLiteral("pressed"),
                                  QStringLiteral("disabled")};
    for (int row = 0; row < 3; ++row) {
        auto b = std::make_unique<TResButton>();
        b->resize(width, 10);
        b->SetButtonCols(cols);
        b->SetButtonDisablity(true);
        b->SetBitmap(LoadSkinImage(strip));
        b->SetButtonIndex(index);
        if (row == 1)
            b->Press({2, 2});
        if (row == 2)
            b->setEnabled(false);
        shots.append(b.get());
        keep.push_back(std::move(b));
    }
    g.SaveRow(shots, captions, name);
}

void BidButtons(Gallery& g, const QString& prefix, int width) {
    std::vector<std::unique_ptr<TQEV2016ResButton>> keep;
    QList<QWidget*> shots;
    for (int row = 0; row < 3; ++row) {
        auto b = std::make_unique<TQEV2016ResButton>();
        b->resize(width, 10);
        b->SetButtonDisablity(true);
        b->SetAutoClick(true);
        b->SetBitmap(LoadSkinImage(prefix + QStringLiteral("_BIDBUTTON")));
        b->SetMask(LoadSkinImage(prefix + QStringLiteral("_BIDBUTTON_MASK")));
        if (row == 1)
            b->Press({b->width() / 2, b->height() / 2});
        if (row == 2)
            b->setEnabled(false);
        shots.append(b.get());
        keep.push_back(std::move(b));
    }
    g.SaveRow(shots, {QStringLiteral("normal"), QStringLiteral("pressed"), QStringLiteral("disabled")},
              prefix + QStringLiteral("_bidbutton"));
}

void Headers(Gallery& g) {
    // The bid-mode guard reads the installed clock; moving it avoids waiting a real second.
    ManualClock clock;
    ScopedClock scoped(clock);
    QWidget window;
    window.resize(1024, 41);
    auto* h = new TQEV2016Header(&window);
    h->SetUserCaption(QStringLiteral("D01234"));
    h->SetVolumeEnabled(true);
    h->SetAlarmSettingEnabled(true);
    h->SetAuctionEnabled(true);
    h->SetBidModeEnabled(false);
    g.Save(*h, QStringLiteral("header_bidmode_disabled"));
    h->SetBidModeEnabled(true);
    h->SetBidMode(false);
    g.Save(*h, QStringLiteral("header_bidmode_off"));
    clock.advance(TQEV2016Header::kBidModeGuardMs);
    h->SetBidMode(true);
    h->SetBidOffCountdown(3);
    g.Save(*h, QStringLiteral("header_bidmode_on_countdown"));
    h->SetBidOffCountdown(0);
    h->SetAlarmSettingVisible(false);
    h->SetAuctionVisible(true);
    g.Save(*h, QStringLiteral("header_alarm_screen"));
    h->SetAlarmSettingVisible(true);
    h->SetAuctionVisible(false);
    for (int level = 0; level < 4; ++level) {
        h->SetVolumeDisplay(level);
        g.Save(*h->VolumeButton(), QStringLiteral("header_volume_%1").arg(level));
    }
    h->VolumeButton()->Press({5, 5});
    g.Save(*h->VolumeButton(), QStringLiteral("header_volume_3_pressed"));
}

void Prices(Gallery& g) {
    for (const bool one : {true, false}) {
        for (const bool mark : {false, true}) {
            std::vector<std::unique_ptr<TQEV2016PricePanel>> keep;
            QList<QWidget*> shots;
            QStringList captions;
            for (const int v : {-1, 0, 7, 12345, 123456, std::numeric_limits<int>::max()}) {
                auto p = std::make_unique<TQEV2016PricePanel>();
                p->SetOneLane(one);
                p->SetValue(v);
                p->SetMark(mark);
                shots.append(p.get());
                captions.append(QString::number(v));
                keep.push_back(std::move(p));
            }
            g.SaveRow(shots, captions,
                      QStringLiteral("price_%1%2")
                          .arg(one ? QStringLiteral("1ch") : QStringLiteral("2ch"),
                               mark ? QStringLiteral("_mark") : QString()));
        }
    }
}

void Gauges(Gallery& g) {
    for (const QString& prefix : {QStringLiteral("1"), QStringLiteral("2")}) {
        std::vector<std::unique_ptr<TAuctionGauge>> keep;
        QList<QWidget*> shots;
        const QImage on = LoadSkinImage(prefix + QStringLiteral("_GAUGE_ON"));
        for (int level = 0; level < 4; ++level) {
            auto gauge = std::make_unique<TAuctionGauge>();
            gauge->resize(on.size());
            gauge->SetBitmapOn(on);
            gauge->SetBitmapOff(LoadSkinImage(prefix + QStringLiteral("_GAUGE_OFF")));
            gauge->SetValue(level);
            shots.append(gauge.get());
            keep.push_back(std::move(gauge));
        }
        g.SaveRow(shots, {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                  prefix + QStringLiteral("_gauge"));
    }
}

void Panels(Gallery& g) {
    TQEV2016Panel alarm;
    alarm.resize(400, 35);
    alarm.setFont(Face("ＭＳ Ｐゴシック", 20, true));
    alarm.SetColor(QColor(255, 253, 101));
    alarm.SetText(QStringLiteral("あと3台で 0123 トヨタ クラウン 2.5 ロイヤルサルーン 2015年 パール"));
    TQEV2016Panel alarmShort;
    alarmShort.resize(400, 35);
    alarmShort.setFont(Face("ＭＳ Ｐゴシック", 20, true));
    alarmShort.SetColor(QColor(255, 253, 101));
    alarmShort.SetBorder(true);
    alarmShort.SetBorderColor(QColor(0, 106, 182));
    alarmShort.SetBorderWidth(2);
    alarmShort.SetText(QStringLiteral("現在 0456 ホンダ フィット"));
    g.SaveRow({&alarm, &alarmShort}, {QStringLiteral("long text, separator"), QStringLiteral("border 2")},
              QStringLiteral("panel_text"));

    TQEV2016JPanel exhibit;
    exhibit.resize(79, 37);
    exhibit.setFont(Face("ＭＳ ゴシック", 30, true));
    exhibit.SetFontColor(QColor(0, 106, 182));
    exhibit.SetAlignment(TQEV2016JPanel::AlignCenter);
    exhibit.SetTextTop(3);
    exhibit.SetText(QStringLiteral("0123"));
    TQEV2016JPanel car;
    car.resize(300, 37);
    car.setFont(Face("ＭＳ Ｐゴシック", 30, false));
    car.SetTextTop(2);
    car.SetText(QStringLiteral("トヨタ プリウス Sツーリング H27"));
    TQEV2016JPanel grade;
    grade.resize(169, 38);
    grade.setFont(Face("ＭＳ Ｐゴシック", 35, true));
    grade.SetFontColor(QColor(0, 106, 182));
    grade.SetColor(QColor(219, 238, 245));
    grade.SetAlignment(TQEV2016JPanel::AlignCenter);
    grade.SetCharExtra(3);
    grade.SetTextTop(TQEV2016JPanel::kCentreHigh);
    grade.SetText(QStringLiteral("4.5"));
    TQEV2016JPanel wideCentred;
    wideCentred.resize(120, 30);
    wideCentred.setFont(Face("ＭＳ Ｐゴシック", 20, false));
    wideCentred.SetAlignment(TQEV2016JPanel::AlignCenter);
    wideCentred.SetTextTop(TQEV2016JPanel::kCentreLow);
    wideCentred.SetText(QStringLiteral("とても長い中央揃えの文字列です"));
    g.SaveRow({&exhibit, &car, &grade, &wideCentred},
              {QStringLiteral("exhibit"), QStringLiteral("car line"), QStringLiteral("grade, centred"),
               QStringLiteral("wide, centred")},
              QStringLiteral("jpanel_text"));

    // The won-bid report: captions over the box picture, from its origin.
    TQEV2016JPanel report;
    report.resize(391, 345);
    report.SetBackImage(LoadSkinImage(QStringLiteral("0_CONFIRM_BOX")));
    report.SetBackFromOrigin(true);
    const QColor pale(255, 254, 193);
    struct Caption {
        QRect place;
        const char* text;
        int px;
        bool bold;
        int align;
        int extra;
        int top;
    };
    const Caption captions[] = {
        {{85, 122, 96, 23}, "出品番号", 22, false, 0, 3, 0},
        {{189, 122, 120, 22}, "0123", 24, true, 1, 3, -1},
        {{85, 154, 96, 23}, "落札金額", 22, false, 0, 3, 0},
        {{189, 154, 76, 22}, "123.4", 24, true, 1, 0, 0},
        {{265, 154, 44, 22}, "万円", 20, true, 0, 3, 2},
    };
    for (const Caption& c : captions) {
        auto* p = new TQEV2016JPanel(&report);
        p->setGeometry(c.place);
        p->setFont(Face("ＭＳ Ｐゴシック", c.px, c.bold));
        p->SetColor(pale);
        p->SetAlignment(c.align);
        p->SetCharExtra(c.extra);
        p->SetTextTop(c.top);
        p->SetText(QString::fromUtf8(c.text));
    }
    auto* ok = new TResButton(&report);
    ok->setGeometry(70, 248, 250, 60);
    ok->SetAutoSize(false);
    ok->SetButtonDisablity(true);
    ok->SetBitmap(LoadSkinImage(QStringLiteral("0_CONFIRM_BUTTON")));
    g.Save(report, QStringLiteral("report"));

    // Frames: lane A's and B's halves through the image panel's source offset.
    for (const int lane : {0, 1}) {
        TQEV2016GResPanel base;
        base.resize(990, 670);
        base.SetImage(LoadSkinImage(QStringLiteral("1_BASE")));
        base.SetSourceX(lane * 990);
        g.Save(base, QStringLiteral("frame_1_lane%1").arg(lane));
        TQEV2016GResPanel base2;
        base2.resize(490, 670);
        base2.SetImage(LoadSkinImage(QStringLiteral("2_BASE")));
        base2.SetSourceX(lane * 490);
        g.Save(base2, QStringLiteral("frame_2_lane%1").arg(lane));
    }
    std::vector<std::unique_ptr<TQEV2016GResPanel>> keep;
    QList<QWidget*> shots;
    QStringList names;
    for (const int row : {0, 1, 2, 3, 4}) {
        auto m = std::make_unique<TQEV2016GResPanel>();
        m->resize(140, 36);
        m->SetImage(LoadSkinImage(QStringLiteral("1_MESSAGE")));
        m->SetSourceY(row * 36);
        shots.append(m.get());
        names.append(QString::number(row * 36));
        keep.push_back(std::move(m));
    }
    g.SaveRow(shots, names, QStringLiteral("message_strips"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    QDir out;
    if (const int status = Gallery::OpenFolder(app.arguments(), "qev-skin-gallery", out))
        return status;
    Gallery g(out);
    ButtonRows(g, QStringLiteral("BUTTON_LOGIN4ONELANEMODE"), 308, 1, 0, QStringLiteral("login_onelane"));
    ButtonRows(g, QStringLiteral("BUTTON_LOGIN4TWOLANEMODE"), 308, 1, 0, QStringLiteral("login_twolane"));
    ButtonRows(g, QStringLiteral("BUTTON_LOGIN_CLOSE"), 201, 1, 0, QStringLiteral("login_close"));
    ButtonRows(g, QStringLiteral("1_BUTTON_BLANE"), 175, 1, 0, QStringLiteral("lane_switch_b"));
    ButtonRows(g, QStringLiteral("0_CONFIRM_BUTTON"), 250, 1, 0, QStringLiteral("report_ok"));
    ButtonRows(g, QStringLiteral("QEV2016_HEADER_BIDMODE"), 102, 2, 0,
               QStringLiteral("header_bidmode_off_rows"));
    ButtonRows(g, QStringLiteral("QEV2016_HEADER_BIDMODE"), 102, 2, 1,
               QStringLiteral("header_bidmode_on_rows"));
    ButtonRows(g, QStringLiteral("QEV2016_HEADER_ALARMSETTING"), 154, 1, 0,
               QStringLiteral("header_alarm_rows"));
    ButtonRows(g, QStringLiteral("QEV2016_HEADER_AUCTION"), 154, 1, 0, QStringLiteral("header_auction_rows"));
    ButtonRows(g, QStringLiteral("QEV2016_HEADER_EXIT"), 82, 1, 0, QStringLiteral("header_exit_rows"));
    BidButtons(g, QStringLiteral("1"), 109);
    BidButtons(g, QStringLiteral("2"), 97);
    Headers(g);
    Prices(g);
    Gauges(g);
    Panels(g);
    return g.Failures() == 0 ? 0 : 1;
}
