#include "tools/auction-house/catalogue/carcatalogue.h"

#include <array>
#include <random>

namespace qev {

namespace {

struct Model {
    const char16_t* maker;
    const char16_t* name;
    CatalogueLot::Body body;
    int firstYear;
    int lastYear;
    int priceLowK; // start price range in thousands of yen, for the newest year
    int priceHighK;
};

constexpr std::array kModels{
    Model{u"トヨタ", u"プリウス", CatalogueLot::Body::Hatchback, 2010, 2022, 700, 2600},
    Model{u"トヨタ", u"アクア", CatalogueLot::Body::Hatchback, 2012, 2022, 400, 1700},
    Model{u"トヨタ", u"クラウン", CatalogueLot::Body::Sedan, 2009, 2021, 900, 4200},
    Model{u"トヨタ", u"カローラフィールダー", CatalogueLot::Body::Wagon, 2009, 2021, 300, 1500},
    Model{u"トヨタ", u"ヴォクシー", CatalogueLot::Body::Minivan, 2010, 2022, 600, 2800},
    Model{u"トヨタ", u"アルファード", CatalogueLot::Body::Minivan, 2010, 2022, 1200, 5200},
    Model{u"トヨタ", u"ハリアー", CatalogueLot::Body::Suv, 2013, 2022, 1500, 3800},
    Model{u"ホンダ", u"フィット", CatalogueLot::Body::Hatchback, 2010, 2022, 250, 1500},
    Model{u"ホンダ", u"フリード", CatalogueLot::Body::Minivan, 2011, 2022, 500, 2100},
    Model{u"ホンダ", u"ステップワゴン", CatalogueLot::Body::Minivan, 2010, 2022, 500, 2600},
    Model{u"ホンダ", u"エヌボックス", CatalogueLot::Body::KeiWagon, 2012, 2022, 400, 1600},
    Model{u"ニッサン", u"ノート", CatalogueLot::Body::Hatchback, 2012, 2022, 250, 1700},
    Model{u"ニッサン", u"セレナ", CatalogueLot::Body::Minivan, 2010, 2022, 450, 2500},
    Model{u"ニッサン", u"エクストレイル", CatalogueLot::Body::Suv, 2010, 2022, 600, 2700},
    Model{u"ニッサン", u"デイズ", CatalogueLot::Body::KeiWagon, 2013, 2022, 300, 1200},
    Model{u"マツダ", u"デミオ", CatalogueLot::Body::Hatchback, 2010, 2019, 200, 1100},
    Model{u"マツダ", u"アテンザ", CatalogueLot::Body::Sedan, 2010, 2019, 400, 1900},
    Model{u"スバル", u"フォレスター", CatalogueLot::Body::Suv, 2010, 2022, 600, 2600},
    Model{u"スバル", u"レヴォーグ", CatalogueLot::Body::Wagon, 2014, 2022, 900, 2900},
    Model{u"スズキ", u"ワゴンアール", CatalogueLot::Body::KeiWagon, 2010, 2022, 150, 1000},
    Model{u"スズキ", u"スイフト", CatalogueLot::Body::Hatchback, 2010, 2022, 250, 1300},
    Model{u"ダイハツ", u"タント", CatalogueLot::Body::KeiWagon, 2010, 2022, 250, 1400},
    Model{u"ダイハツ", u"ムーヴ", CatalogueLot::Body::KeiWagon, 2010, 2022, 200, 1200},
    Model{u"ミツビシ", u"デリカ", CatalogueLot::Body::Minivan, 2010, 2022, 900, 3500},
};

constexpr std::array kTrims{u"",           u"S",        u"G",          u"X",   u"ハイブリッド",
                            u"ツーリング", u"カスタム", u"プレミアム", u"4WD", u"Lパッケージ"};

struct Paint {
    const char16_t* name;
    QRgb rgb;
};
constexpr std::array kPaints{
    Paint{u"パールホワイト", 0xF2F2EE}, Paint{u"ブラック", 0x1A1A1E}, Paint{u"シルバー", 0xB8BCC2},
    Paint{u"レッド", 0xB3202A},         Paint{u"ブルー", 0x234A8C},   Paint{u"グレー", 0x6B6E73},
    Paint{u"ベージュ", 0xC9B38F},       Paint{u"グリーン", 0x3D6B45}, Paint{u"ワインレッド", 0x6E1F2F},
};

constexpr std::array kOverall{u"6",   u"5",   u"4.5", u"4.5", u"4", u"4", u"4", u"3.5",
                              u"3.5", u"3.5", u"3",   u"3",   u"2", u"R", u"RA"};
constexpr std::array kLetters{u"A", u"B", u"B", u"C", u"C", u"C", u"D", u"E"};

constexpr std::array kNotes{
    u"修復歴あり　ルーフ交換", u"メーター交換歴あり",   u"走行不明",   u"冠水歴なし　社外ナビ",
    u"左リアドア交換",         u"禁煙車　ワンオーナー", u"タイヤ溝少", u"エアコン効き弱　要確認",
    u"　エンジン異音あり　",   u"フロントガラスヒビ",
};

constexpr std::array kDamageCodes{u"A1", u"A2", u"A3", u"U1", u"U2", u"W1", u"W2", u"S1", u"B1", u"C1"};

// Deterministic across compilers: only the raw engine output is used.
class Dice {
public:
    Dice(quint32 seed, int exhibit)
        : m_engine(seed * 2654435761u ^ quint32(exhibit) * 40503u ^ 0x5EEDu) {}
    int Below(int n) { return n <= 0 ? 0 : int(m_engine() % quint32(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }

private:
    std::mt19937 m_engine;
};

QString Era(int yearAd) {
    if (yearAd >= 2019)
        return QStringLiteral("R%1").arg(yearAd - 2018);
    return QStringLiteral("H%1").arg(yearAd - 1988);
}

QString Text(const char16_t* s) {
    return QString::fromUtf16(s);
}

} // namespace

CatalogueLot CarCatalogue::Lot(int exhibit) const {
    Dice dice(m_seed, exhibit);
    const Model& model = kModels[size_t(dice.Below(int(kModels.size())))];
    CatalogueLot lot;
    lot.exhibit = exhibit;
    lot.maker = Text(model.maker);
    const QString trim = Text(kTrims[size_t(dice.Below(int(kTrims.size())))]);
    lot.carName = trim.isEmpty() ? Text(model.name) : Text(model.name) + QLatin1Char(' ') + trim;
    lot.body = model.body;
    lot.yearAd = dice.Between(model.firstYear, model.lastYear);
    lot.modelYear = Era(lot.yearAd);

    lot.overallGrade = Text(kOverall[size_t(dice.Below(int(kOverall.size())))]);
    lot.exteriorGrade = Text(kLetters[size_t(dice.Below(int(kLetters.size())))]);
    lot.interiorGrade = Text(kLetters[size_t(dice.Below(int(kLetters.size())))]);

    const int age = model.lastYear - lot.yearAd;
    const int priceK = dice.Between(model.priceLowK, model.priceHighK) * 10 / (10 + 2 * age);
    lot.startPriceYen = qMax(10, priceK / 10 * 10) * 1000;
    lot.mileageKm = dice.Between(2, 18) * 1000 * (age + 1) + dice.Below(1000);

    if (dice.Below(3) == 0)
        lot.correction = Text(kNotes[size_t(dice.Below(int(kNotes.size())))]);
    lot.exhibitorCode = QStringLiteral("%1").arg(dice.Between(1000, 9899), 4, 10, QLatin1Char('0'));
    lot.bidLocked = dice.Below(40) == 0;

    const Paint& paint = kPaints[size_t(dice.Below(int(kPaints.size())))];
    lot.colour = QColor::fromRgb(paint.rgb);
    lot.colourName = Text(paint.name);

    const int marks = dice.Below(6);
    for (int i = 0; i < marks; ++i) {
        CatalogueLot::Damage damage;
        damage.where = QPointF(dice.Between(5, 95) / 100.0, dice.Between(5, 95) / 100.0);
        damage.code = Text(kDamageCodes[size_t(dice.Below(int(kDamageCodes.size())))]);
        lot.damages.append(damage);
    }
    return lot;
}

QList<int> CarCatalogue::RunningOrder(int lane, int count) const {
    QList<int> order;
    order.reserve(qMax(0, count));
    for (int i = 0; i < count; ++i)
        order.append(lane * LaneSpan + i + 1);
    return order;
}

} // namespace qev
