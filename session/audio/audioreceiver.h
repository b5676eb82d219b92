#pragma once

#include "audio/core/audioframeparser.h"
#include "audio/core/cadecoder.h"
#include "audio/core/soundform.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <memory>

namespace qev {

// The receiving half of the audio channel, without a socket: cuts frames, answers "QN" through
// OnSubscriptionRequest, decodes "CA" frames and gathers their PCM into chunks for the output.
class AudioReceiver {
public:
    // Upper bound of the PCM gathered before it goes out as a chunk, whatever the frames announce.
    static constexpr qsizetype kMaxAccumulated = 1 << 20;

    explicit AudioReceiver(TSoundForm& output);
    ~AudioReceiver();
    AudioReceiver(const AudioReceiver&) = delete;
    AudioReceiver& operator=(const AudioReceiver&) = delete;

    // Appends the bytes of one data event and handles every whole frame.
    void HandleBytes(QByteArrayView bytes);
    // Empties the receive buffer and the PCM accumulator and ends the GSM stream (connect and
    // close).
    void Reset();
    // The server information's sample rate: the current format becomes rate / 8 bits.
    void SetServerFormat(int rate);

    int currentRate() const { return m_rate; }
    int currentBits() const { return m_bits; }
    qsizetype accumulated() const { return m_pcm.size(); }
    CaDecoder& decoder() { return m_decoder; }

    // "QN": the server asks for the subscription line.
    std::function<void(AudioReceiver& sender)> OnSubscriptionRequest;

    // Number of PCM bytes at which a frame's accumulator goes out as a chunk.
    static qsizetype Threshold(int rate, int percentage);

private:
    void handleFrame(const QByteArray& body);
    void handleAudio(QByteArrayView content);

    TSoundForm& m_output;
    AudioFrameParser m_parser;
    CaDecoder m_decoder;
    QByteArray m_pcm;
    int m_rate = 0;
    int m_bits = 0;
    // The last frame's own format (the server information does not end a GSM stream).
    int m_frameRate = -1;
    int m_frameBits = -1;
    int m_frameCodec = -1;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace qev
