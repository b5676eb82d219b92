#pragma once

#include <QList>
#include <QtGlobal>

namespace qev {

// The house's auctioneer: a chant of short voiced syllables whose pitches spell the digits of the
// current price and whose phrase repeats until the next price step, and a pure marker tone at
// each new lot so that a recording can be checked. Mono 16-bit samples; deterministic.
class ChantSynth {
public:
    struct Options {
        int rate = 8000;
        double markerHz = 1000.0;
        int markerMs = 400;
        double baseHz = 130.0;
        int syllableMs = 110;
        int pauseMs = 140;
        double amplitude = 0.5; // of full scale
    };

    explicit ChantSynth(const Options& options);

    // A new lot: the marker tone starts at the next sample, then the chant of startPrice.
    void NewLot(int startPrice);
    // A price step: the chant switches to the new price at the next syllable.
    void PriceStep(int price);

    // The next count samples of the stream.
    QList<qint16> Render(int count);

    int rate() const { return m_o.rate; }
    const Options& options() const { return m_o; }

private:
    void nextSyllable();

    Options m_o;
    int m_price = 0;
    bool m_priceChanged = false;
    QList<int> m_phrase; // semitone offsets of the syllables of the current price
    int m_syllable = 0;
    qint64 m_markerLeft = 0; // samples of marker tone still to play
    qint64 m_markerPhase = 0;
    qint64 m_segmentLeft = 0; // samples left of the current syllable or pause
    qint64 m_segmentLength = 0;
    double m_segmentHz = 0; // 0: a pause
    double m_phase = 0;
};

} // namespace qev
