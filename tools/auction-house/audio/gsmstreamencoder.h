#pragma once

#include <QByteArray>
#include <QList>
#include <memory>

namespace qev {

// The house's GSM 6.10 encoder (WAVE packing, 65-byte blocks of 320 samples) for one continuous
// stream: its state runs on from payload to payload, as the client's decoder does, until Reset()
// (with a flush mark, where the client starts afresh too).
class GsmStreamEncoder {
public:
    GsmStreamEncoder();
    ~GsmStreamEncoder();
    GsmStreamEncoder(const GsmStreamEncoder&) = delete;
    GsmStreamEncoder& operator=(const GsmStreamEncoder&) = delete;

    // The whole blocks of samples; a tail short of 320 samples is cut off.
    QByteArray Encode(const QList<qint16>& samples);
    void Reset();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace qev
