#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

namespace qev {

// One car as the auction house lists it. Texts are Unicode here; the web server writes them
// as Shift-JIS.
struct CatalogueLot {
    enum class Body { Sedan, Hatchback, Minivan, KeiWagon, Suv, Wagon };

    struct Damage {
        QPointF where; // on the car outline, 0..1 across and along
        QString code;  // inspection code such as "A1", "U2"
    };

    int exhibit = 0;
    QString maker;
    QString carName;   // model name in katakana and its grade
    QString modelYear; // as the house writes it, e.g. "H28"
    int yearAd = 0;
    QString overallGrade; // "4.5", "R", ...
    QString exteriorGrade;
    QString interiorGrade;
    int startPriceYen = 0;
    QString correction; // may hold full-width spaces
    QString exhibitorCode;
    bool bidLocked = false;
    int mileageKm = 0;
    Body body = Body::Sedan;
    QColor colour;
    QString colourName;
    QList<Damage> damages;
};

} // namespace qev
