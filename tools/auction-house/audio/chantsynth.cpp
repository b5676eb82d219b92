#include "tools/auction-house/audio/chantsynth.h"

#include <cmath>

namespace qev {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Digits of a price as semitone steps; a price of 0 chants a single low syllable.
QList<int> phraseOf(int price) {
    QList<int> steps;
    const QByteArray digits = QByteArray::number(qAbs(price));
    for (char d : digits)
        steps.append((d - '0') + 2); // 2..11 semitones above the base
    steps.append(0);                 // the phrase falls back to the base at its end
    return steps;
}

} // namespace

ChantSynth::ChantSynth(const Options& options)
    : m_o(options) {
    m_o.rate = qBound(1000, m_o.rate, 192000);
    m_phrase = phraseOf(0);
}

void ChantSynth::NewLot(int startPrice) {
    m_markerLeft = qint64(m_o.markerMs) * m_o.rate / 1000;
    m_markerPhase = 0;
    m_price = startPrice;
    m_phrase = phraseOf(startPrice);
    m_syllable = 0;
    m_segmentLeft = 0;
    m_priceChanged = false;
}

void ChantSynth::PriceStep(int price) {
    m_price = price;
    m_priceChanged = true;
}

void ChantSynth::nextSyllable() {
    if (m_priceChanged) {
        m_phrase = phraseOf(m_price);
        m_syllable = 0;
        m_priceChanged = false;
    }
    if (m_syllable >= m_phrase.size()) {
        // A breath between repeats of the phrase.
        m_syllable = 0;
        m_segmentHz = 0;
        m_segmentLength = m_segmentLeft = qint64(m_o.pauseMs) * m_o.rate / 1000;
        return;
    }
    m_segmentHz = m_o.baseHz * std::pow(2.0, m_phrase.at(m_syllable) / 12.0);
    ++m_syllable;
    m_segmentLength = m_segmentLeft = qint64(m_o.syllableMs) * m_o.rate / 1000;
}

QList<qint16> ChantSynth::Render(int count) {
    QList<qint16> out(qMax(0, count));
    const double full = 32767.0 * m_o.amplitude;
    for (qint16& sample : out) {
        double v = 0;
        if (m_markerLeft > 0) {
            // The marker: a steady sine with 5 ms fades so it does not click.
            const qint64 total = qint64(m_o.markerMs) * m_o.rate / 1000;
            const qint64 at = total - m_markerLeft;
            const double fade = qMin(1.0, qMin(at, m_markerLeft) / (0.005 * m_o.rate));
            v = fade * std::sin(kTwoPi * m_o.markerHz * double(m_markerPhase) / m_o.rate);
            ++m_markerPhase;
            --m_markerLeft;
        } else {
            if (m_segmentLeft <= 0)
                nextSyllable();
            if (m_segmentHz > 0) {
                // A voiced syllable: a few harmonics under a quick attack and a softer decay.
                const double t = double(m_segmentLength - m_segmentLeft) / double(m_segmentLength);
                const double env = t < 0.1 ? t / 0.1 : std::pow(1.0 - (t - 0.1) / 0.9, 1.5);
                m_phase += kTwoPi * m_segmentHz / m_o.rate;
                if (m_phase > kTwoPi)
                    m_phase -= kTwoPi;
                double voice = 0;
                for (int k = 1; k <= 5; ++k)
                    voice += std::sin(k * m_phase) / k;
                v = 0.55 * env * voice;
            }
            --m_segmentLeft;
        }
        sample = qint16(qBound(-32767.0, v * full, 32767.0));
    }
    return out;
}

} // namespace qev
