#pragma once

#include <QByteArray>
#include <QList>

namespace qev {

// A small mixing desk for effect sounds: a float buffer of fixed length to which notes and
// noise bursts are added, then written as 8- or 16-bit PCM.
class ToneBuilder {
public:
    ToneBuilder(int rate, int frames, int channels);

    // A note with a few harmonics (weights 1, h2, h3), an attack and an exponential decay.
    // pan -1 left … 1 right (stereo only). glideTo: the pitch slides linearly to it (0 = none).
    void AddNote(double startMs, double lengthMs, double hz, double gain, double decayMs, double h2 = 0,
                 double h3 = 0, double pan = 0, double glideTo = 0);
    // A burst of soft noise (a smoothed random walk) with a fast decay.
    void AddNoise(double startMs, double lengthMs, double gain, double decayMs, quint32 seed);

    // Scales so the loudest sample reaches peak (of full scale) and writes PCM.
    QByteArray Pcm(int bits, double peak) const;
    int rate() const { return m_rate; }

private:
    void add(int frame, double v, double pan);

    int m_rate;
    int m_frames;
    int m_channels;
    QList<double> m_mix;
};

} // namespace qev
