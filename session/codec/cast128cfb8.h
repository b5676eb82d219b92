#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <nettle/cast128.h>

namespace qev {

// CAST-128 (Nettle) with a 128-bit key, used in 8-bit cipher feedback. The key schedule is
// immutable after construction; every cfb8 call starts its own feedback register from iv.
class Cast128Cfb8 {
public:
    static constexpr qsizetype KeySize = CAST128_KEY_SIZE;
    static constexpr qsizetype BlockSize = CAST128_BLOCK_SIZE;

    // key must hold KeySize bytes.
    explicit Cast128Cfb8(QByteArrayView key);

    // One raw block (BlockSize bytes in, BlockSize bytes out).
    QByteArray encryptBlock(QByteArrayView block) const;

    // iv must hold BlockSize bytes. The output has the length of the input.
    QByteArray encrypt(QByteArrayView iv, QByteArrayView plain) const;
    QByteArray decrypt(QByteArrayView iv, QByteArrayView cipher) const;

private:
    cast128_ctx m_ctx{};
};

// SHA-1 (Nettle) of bytes: 20 bytes.
QByteArray Sha1Digest(QByteArrayView bytes);

} // namespace qev
