#include "tools/sound-gen/tonebuilder.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <cmath>

namespace qev {

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

ToneBuilder::ToneBuilder(int rate, int frames, int channels)
    : m_rate(rate)
    , m_frames(frames)
    , m_channels(channels)
    , m_mix(qsizetype(frames) * channels, 0.0) {}

void ToneBuilder::add(int frame, double v, double pan) {
    if (frame < 0 || frame >= m_frames)
        return;
    if (m_channels == 1) {
        m_mix[frame] += v;
        return;
    }
    m_mix[qsizetype(frame) * 2] += v * std::sqrt((1 - pan) / 2);
    m_mix[qsizetype(frame) * 2 + 1] += v * std::sqrt((1 + pan) / 2);
}

void ToneBuilder::AddNote(double startMs, double lengthMs, double hz, double gain, double decayMs, double h2,
                          double h3, double pan, double glideTo) {
    const int first = int(startMs * m_rate / 1000);
    const int count = int(lengthMs * m_rate / 1000);
    const double attack = 0.003 * m_rate;
    const double release = qMin(0.008 * m_rate, count / 4.0);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / m_rate;
        const double f = glideTo > 0 ? hz + (glideTo - hz) * i / count : hz;
        phase += kTwoPi * f / m_rate;
        double env = std::exp(-t * 1000 / decayMs);
        if (i < attack)
            env *= i / attack;
        if (count - i < release)
            env *= (count - i) / release;
        const double v = std::sin(phase) + h2 * std::sin(2 * phase) + h3 * std::sin(3 * phase);
        add(first + i, gain * env * v, pan);
    }
}

void ToneBuilder::AddNoise(double startMs, double lengthMs, double gain, double decayMs, quint32 seed) {
    QRandomGenerator random(seed);
    const int first = int(startMs * m_rate / 1000);
    const int count = int(lengthMs * m_rate / 1000);
    double smooth = 0;
    for (int i = 0; i < count; ++i) {
        const double white = random.generateDouble() * 2 - 1;
        smooth = 0.6 * smooth + 0.4 * white; // a gentle low-pass: a soft tap, not a hiss
        add(first + i, gain * smooth * std::exp(-double(i) * 1000 / m_rate / decayMs), 0);
    }
}

QByteArray ToneBuilder::Pcm(int bits, double peak) const {
    double loudest = 1e-9;
    for (double v : m_mix)
        loudest = qMax(loudest, std::abs(v));
    const double scale = peak / loudest;
    QByteArray out;
    out.reserve(m_mix.size() * (bits / 8));
    for (double v : m_mix) {
        const double s = qBound(-1.0, v * scale, 1.0);
        if (bits == 8) {
            out.append(char(qBound(0, int(std::lround(128 + s * 127)), 255)));
        } else {
            uchar b[2];
            qToLittleEndian<qint16>(qint16(std::lround(s * 32767)), b);
            out.append(reinterpret_cast<const char*>(b), 2);
        }
    }
    return out;
}

} // namespace qev
