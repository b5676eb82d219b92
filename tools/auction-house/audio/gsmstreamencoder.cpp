#include "tools/auction-house/audio/gsmstreamencoder.h"

#include <algorithm>
#include <gsm.h>

namespace qev {

struct GsmStreamEncoder::State {
    gsm handle = nullptr;
    State() {
        handle = gsm_create();
        int one = 1;
        if (handle)
            gsm_option(handle, GSM_OPT_WAV49, &one);
    }
    ~State() {
        if (handle)
            gsm_destroy(handle);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
};

GsmStreamEncoder::GsmStreamEncoder()
    : m_state(std::make_unique<State>()) {}

GsmStreamEncoder::~GsmStreamEncoder() = default;

void GsmStreamEncoder::Reset() {
    m_state = std::make_unique<State>();
}

QByteArray GsmStreamEncoder::Encode(const QList<qint16>& samples) {
    QByteArray out;
    if (!m_state->handle)
        return out;
    gsm_signal frame[160];
    for (qsizetype at = 0; at + 320 <= samples.size(); at += 320) {
        gsm_byte block[65];
        std::copy_n(samples.constData() + at, 160, frame);
        gsm_encode(m_state->handle, frame, block);
        std::copy_n(samples.constData() + at + 160, 160, frame);
        gsm_encode(m_state->handle, frame, block + 32);
        out.append(reinterpret_cast<const char*>(block), 65);
    }
    return out;
}

} // namespace qev
