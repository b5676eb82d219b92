// Lines per second of the line codec on 100-byte lines, each next to the raw work it cannot
// avoid: Nettle's CAST-128 CFB-8 plus Base64 for the cipher, XOR plus Base64 for the
// scrambler. The ratio codec / raw is what the codec itself adds.
#include "session/codec/cast128cfb8.h"
#include "session/codec/linecodec.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstring>
#include <nettle/cast128.h>
#include <nettle/cfb.h>

using namespace qev;

namespace {

constexpr int kLineSize = 100;

QByteArray sampleLine() {
    QByteArray line;
    for (int i = 0; i < kLineSize; ++i)
        line.append(static_cast<char>('0' + i % 43));
    return line;
}

struct RawCast {
    cast128_ctx ctx{};
    std::array<uint8_t, CAST128_BLOCK_SIZE> iv{};

    RawCast() {
        const QByteArray key = Sha1Digest(QByteArrayLiteral("m7k3v8t5qh")).first(CAST128_KEY_SIZE);
        cast128_set_key(&ctx, reinterpret_cast<const uint8_t*>(key.constData()));
        const std::array<uint8_t, CAST128_BLOCK_SIZE> ones{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
        cast128_encrypt(&ctx, CAST128_BLOCK_SIZE, iv.data(), ones.data());
    }
};

void castEncrypt(const void* ctx, size_t length, uint8_t* dst, const uint8_t* src) {
    cast128_encrypt(static_cast<const cast128_ctx*>(ctx), length, dst, src);
}

void setLines(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * kLineSize);
}

void BM_LineCipher(benchmark::State& state) {
    const QByteArray line = sampleLine();
    for (auto _ : state)
        benchmark::DoNotOptimize(LineCipher(line));
    setLines(state);
}

void BM_RawCipher(benchmark::State& state) {
    const QByteArray line = sampleLine();
    const RawCast raw;
    for (auto _ : state) {
        auto iv = raw.iv;
        QByteArray out(line.size(), Qt::Uninitialized);
        cfb8_encrypt(&raw.ctx, castEncrypt, CAST128_BLOCK_SIZE, iv.data(), static_cast<size_t>(line.size()),
                     reinterpret_cast<uint8_t*>(out.data()),
                     reinterpret_cast<const uint8_t*>(line.constData()));
        benchmark::DoNotOptimize(out.toBase64());
    }
    setLines(state);
}

void BM_LineDecipher(benchmark::State& state) {
    const QByteArray text = LineCipher(sampleLine());
    for (auto _ : state)
        benchmark::DoNotOptimize(LineDecipher(text));
    setLines(state);
}

void BM_RawDecipher(benchmark::State& state) {
    const QByteArray text = LineCipher(sampleLine());
    const RawCast raw;
    for (auto _ : state) {
        const QByteArray bytes = QByteArray::fromBase64(text);
        auto iv = raw.iv;
        QByteArray out(bytes.size(), Qt::Uninitialized);
        cfb8_decrypt(&raw.ctx, castEncrypt, CAST128_BLOCK_SIZE, iv.data(), static_cast<size_t>(bytes.size()),
                     reinterpret_cast<uint8_t*>(out.data()),
                     reinterpret_cast<const uint8_t*>(bytes.constData()));
        benchmark::DoNotOptimize(out);
    }
    setLines(state);
}

void BM_LineScramble(benchmark::State& state) {
    const QByteArray line = sampleLine();
    for (auto _ : state)
        benchmark::DoNotOptimize(LineScramble(line));
    setLines(state);
}

void BM_RawScramble(benchmark::State& state) {
    const QByteArray line = sampleLine();
    quint8 key = 0;
    for (auto _ : state) {
        ++key;
        QByteArray bytes(line.size() + 1, Qt::Uninitialized);
        for (qsizetype i = 0; i < line.size(); ++i)
            bytes[i] = static_cast<char>(static_cast<quint8>(line[i]) ^ key);
        bytes[line.size()] = static_cast<char>(key);
        benchmark::DoNotOptimize(bytes.toBase64());
    }
    setLines(state);
}

void BM_LineUnscramble(benchmark::State& state) {
    const QByteArray text = LineScramble(sampleLine(), 0x5a);
    for (auto _ : state)
        benchmark::DoNotOptimize(LineUnscramble(text));
    setLines(state);
}

void BM_RawUnscramble(benchmark::State& state) {
    const QByteArray text = LineScramble(sampleLine(), 0x5a);
    for (auto _ : state) {
        const QByteArray bytes = QByteArray::fromBase64(text);
        const auto key = static_cast<quint8>(bytes.back());
        QByteArray out(bytes.size() - 1, Qt::Uninitialized);
        for (qsizetype i = 0; i < out.size(); ++i)
            out[i] = static_cast<char>(static_cast<quint8>(bytes[i]) ^ key);
        benchmark::DoNotOptimize(out);
    }
    setLines(state);
}

} // namespace

BENCHMARK(BM_LineCipher);
BENCHMARK(BM_RawCipher);
BENCHMARK(BM_LineDecipher);
BENCHMARK(BM_RawDecipher);
BENCHMARK(BM_LineScramble);
BENCHMARK(BM_RawScramble);
BENCHMARK(BM_LineUnscramble);
BENCHMARK(BM_RawUnscramble);

BENCHMARK_MAIN();
