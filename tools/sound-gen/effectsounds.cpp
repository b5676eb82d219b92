#include "tools/sound-gen/effectsounds.h"

#include "tools/sound-gen/tonebuilder.h"

#include <cmath>
#include <functional>

namespace qev {

namespace {

// Equal-tempered pitch of a note, semitones from A4.
double note(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

EffectSound make(const char* name, const WaveFormat& f, int dataBytes,
                 const std::function<void(ToneBuilder&)>& draw, double peak) {
    const int frames = dataBytes / f.blockAlign();
    ToneBuilder b(f.rate, frames, f.channels);
    draw(b);
    return {QString::fromLatin1(name), f, b.Pcm(f.bits, peak)};
}

// The cues no event plays; short two- or three-note figures, each with its own shape.
EffectSound cue(const char* name, const std::function<void(ToneBuilder&)>& draw) {
    return make(name, {22050, 8, 1}, 3452, draw, 0.7);
}

} // namespace

QList<EffectSound> MakeEffectSounds() {
    QList<EffectSound> s;
    // A soft wooden tap: a short noise burst over a damped 1.8 kHz body.
    s.append(make(
        "S_CLICK", {11025, 16, 1}, 852,
        [](ToneBuilder& b) {
            b.AddNoise(0, 12, 0.5, 3, 7);
            b.AddNote(0, 38, 1800, 0.8, 7, 0.2);
        },
        0.6));
    // The bid going out: a quick upward blip.
    s.append(make(
        "S_PUSH", {22050, 8, 1}, 832,
        [](ToneBuilder& b) { b.AddNote(0, 37, 700, 1.0, 18, 0.3, 0.1, 0, 1500); }, 0.75));
    // The alarm: a bell-like two-tone chime, four strikes spread across the stereo field.
    s.append(make(
        "S_ALARM", {44100, 16, 2}, 352248,
        [](ToneBuilder& b) {
            const double hi = note(7); // E5
            const double lo = note(0); // A4
            for (int i = 0; i < 4; ++i) {
                const double at = i * 480.0;
                const double hz = i % 2 == 0 ? hi : lo;
                const double pan = i % 2 == 0 ? -0.35 : 0.35;
                b.AddNote(at, 1500, hz, 0.8, 380, 0.35, 0.12, pan);
                b.AddNote(at, 600, hz * 2.76, 0.12, 90, 0, 0, pan); // the bell's bright partial
            }
        },
        0.7));
    s.append(cue("S_START", [](ToneBuilder& b) {
        b.AddNote(0, 70, note(3), 0.8, 60, 0.2);
        b.AddNote(75, 80, note(10), 0.8, 70, 0.2);
    }));
    s.append(cue("S_START1", [](ToneBuilder& b) {
        b.AddNote(0, 50, note(3), 0.7, 50);
        b.AddNote(52, 50, note(7), 0.7, 50);
        b.AddNote(104, 52, note(10), 0.7, 60);
    }));
    s.append(
        cue("S_START2", [](ToneBuilder& b) { b.AddNote(0, 155, note(5), 0.8, 120, 0.3, 0, 0, note(8)); }));
    s.append(cue("S_SELLOUT", [](ToneBuilder& b) {
        b.AddNote(0, 75, note(10), 0.8, 70, 0.2);
        b.AddNote(78, 78, note(3), 0.8, 70, 0.2);
    }));
    s.append(cue("S_CALLED", [](ToneBuilder& b) {
        b.AddNote(0, 60, note(15), 0.7, 200, 0.1);
        b.AddNote(85, 60, note(15), 0.7, 200, 0.1);
    }));
    s.append(cue("S_SOLD", [](ToneBuilder& b) {
        for (int st : {3, 7, 10})
            b.AddNote(0, 155, note(st), 0.5, 90, 0.15);
    }));
    return s;
}

} // namespace qev
