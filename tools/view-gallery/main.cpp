// Renders the one-lane and the two-lane view of both lanes offscreen in the states a dealer
// meets, one PNG per state, against a session signed in to scripted lanes of the local house.
#include "common/imageholder.h"
#include "lanes/views/laneviewimages.h"
#include "lanes/views/twin1of2.h"
#include "lanes/views/twin1of4.h"
#include "skin/fontsetup.h"
#include "tools/auction-house/catalogue/carcatalogue.h"
#include "tools/auction-house/web/carphotopainter.h"
#include "tools/auction-house/web/exhibitcardpainter.h"
#include "tools/lane-harness/signedinsession.h"
#include "tools/lane-harness/standinhost.h"
#include "tools/skin-gallery/gallery.h"

#include <QApplication>
#include <QStringEncoder>
#include <cstdio>
#include <memory>

using namespace qev;

namespace {

constexpr int kLot = 105;

TLotRecord LotRecord(const CatalogueLot& lot, bool correction) {
    return RecordFromText(QStringLiteral("REAL_EXHIBIT_NO=%1\nREAL_NENSHIKI=%2\nREAL_CAR_NAME=%3 %4\n"
                                         "REAL_HYOKA=%5\nREAL_GAISO=%6\nREAL_NAISO=%7\nREAL_START_PRICE=%8\n"
                                         "REAL_TEISEI=%9\n")
                              .arg(lot.exhibit)
                              .arg(lot.modelYear, lot.maker, lot.carName, lot.overallGrade, lot.exteriorGrade,
                                   lot.interiorGrade)
                              .arg(lot.startPriceYen)
                              .arg(correction ? QStringLiteral("走行距離　不明　修復歴あり") : QString()));
}

// The pictures of the lot, scaled as the picture pipeline leaves them in a photo slot.
void FillSlot(TImageHolder& slot, const CatalogueLot& lot, int lane) {
    const QImage photo = CarPhotoPainter::Paint(lot);
    const QImage card = ExhibitCardPainter::Paint(lot);
    slot.SetKey(12, kLot, lane);
    slot.Main() = photo.scaled(TImageHolder::MainSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_RGB32);
    slot.Thumbnail() =
        photo.scaled(TImageHolder::ThumbnailSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    slot.Large() = card.scaled(TImageHolder::LargeSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
}

QList<AlarmItem> AlarmList(const QList<int>& exhibits, const QList<int>& watched, const CarCatalogue& cars) {
    QList<AlarmItem> out;
    QStringEncoder sjis("windows-31j");
    for (int e : exhibits) {
        const CatalogueLot lot = cars.Lot(e);
        const QByteArray name = sjis(lot.maker + QLatin1Char(' ') + lot.carName);
        const QByteArray text = QByteArray::number(e) + ',' + name;
        out.append({text, watched.contains(e)});
    }
    return out;
}

class Renderer {
public:
    Renderer(Gallery& gallery, SignedInSession& session, const LaneViewImages& images)
        : m_gallery(gallery)
        , m_session(session)
        , m_images(images)
        , m_cars(2016) {}

    void RenderAll() {
        for (const bool one : {true, false})
            for (int lane = 0; lane < 2; ++lane)
                Render(one, lane);
    }

private:
    std::unique_ptr<TLaneView> Make(StandInHost& host, bool one, int lane) {
        std::unique_ptr<TLaneView> view;
        if (one)
            view = std::make_unique<TWin1Of2>(host, m_images);
        else
            view = std::make_unique<TWin1Of4>(host, m_images);
        view->Lane = lane;
        view->Attach(&m_panel, m_session.dm.get());
        view->setParent(nullptr);
        view->SiteNumber = 12;
        view->ExhibitNo = kLot;
        return view;
    }

    void Save(TLaneView& view, bool one, int lane, const char* state) {
        const QString name = QStringLiteral("%1_lane%2_%3")
                                 .arg(one ? QStringLiteral("onelane") : QStringLiteral("twolane"))
                                 .arg(QLatin1Char(lane == 0 ? 'A' : 'B'))
                                 .arg(QLatin1String(state));
        m_gallery.Save(view, name);
    }

    void ShowLot(StandInHost& host, TLaneView& view, bool correction, int lane) {
        const CatalogueLot lot = m_cars.Lot(kLot);
        host.record = LotRecord(lot, correction);
        host.exhibitor = "2002";
        TImageHolder slot;
        FillSlot(slot, lot, lane);
        view.ShowCurrentLot(*host.record, true, false);
        view.ShowPhoto(0, slot);
        view.ShowPhoto(1, slot);
        const TLotRecord next = LotRecord(m_cars.Lot(kLot + 1), false);
        view.ShowNextLot(lane, &next, false, false);
        if (auto* oneLane = dynamic_cast<TWin1Of2*>(&view)) {
            const TLotRecord other = LotRecord(m_cars.Lot(10000 * (1 - lane) + 12), false);
            oneLane->ShowOtherLaneLot(1 - lane, &other);
        }
    }

    void Render(bool one, int lane) {
        {
            StandInHost host;
            auto view = Make(host, one, lane);
            Save(*view, one, lane, "empty");
        }
        {
            StandInHost host;
            auto view = Make(host, one, lane);
            ShowLot(host, *view, false, lane);
            view->SetLotState(2);
            view->SetPrice(1234);
            view->SetGauge(3);
            view->UpdateBidButton();
            Save(*view, one, lane, "bidding_enabled");
            host.exhibitor = "1001"; // the dealer's own lot
            view->UpdateBidButton();
            Save(*view, one, lane, "own_lot_disabled");
            host.exhibitor = "2002";
            view->SetPriceStyle(3);
            view->SetGauge(2);
            Save(*view, one, lane, "own_lead");
            for (const auto& [state, name] : {std::pair{7, "state7_no_reserve"}, std::pair{9, "state9_won"},
                                              std::pair{10, "state10_unsold"}}) {
                view->SetLotState(state);
                Save(*view, one, lane, name);
            }
            view->ShowMessage(mtSold, {QStringLiteral("0045"), QStringLiteral("123.4")});
            Save(*view, one, lane, "won_report");
        }
        {
            StandInHost host;
            auto view = Make(host, one, lane);
            const int base = lane * CarCatalogue::LaneSpan;
            view->UpdateAlarmList(lane, AlarmList({base + 104, kLot, base + 106, base + 107, base + 108},
                                                  {kLot, base + 108}, m_cars));
            const int otherBase = (1 - lane) * CarCatalogue::LaneSpan;
            view->UpdateAlarmList(1 - lane, AlarmList({otherBase + 12, otherBase + 13, otherBase + 14},
                                                      {otherBase + 14}, m_cars));
            ShowLot(host, *view, true, lane);
            view->SetLotState(3);
            view->SetPrice(987);
            view->SetGauge(1);
            Save(*view, one, lane, "correction_alarms");
        }
    }

    Gallery& m_gallery;
    SignedInSession& m_session;
    const LaneViewImages& m_images;
    CarCatalogue m_cars;
    QWidget m_panel;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    QDir out;
    if (const int status = Gallery::OpenFolder(app.arguments(), "qev-view-gallery", out))
        return status;
    SignedInSession session;
    if (!session.Start()) {
        std::fprintf(stderr, "the local auction house did not take the session\n");
        return 1;
    }
    const LaneViewImages images = LaneViewImages::Load();
    Gallery g(out);
    Renderer(g, session, images).RenderAll();
    return g.Failures() == 0 ? 0 : 1;
}
