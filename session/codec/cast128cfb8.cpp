#include "session/codec/cast128cfb8.h"

#include <array>
#include <cstring>
#include <nettle/cfb.h>
#include <nettle/sha1.h>

namespace qev {

namespace {

const auto* u8(const char* p) {
    return reinterpret_cast<const uint8_t*>(p);
}

auto* u8(char* p) {
    return reinterpret_cast<uint8_t*>(p);
}

// Nettle's generic block-function signature; calling cast128_encrypt through a cast pointer
// would be undefined behaviour.
void castEncrypt(const void* ctx, size_t length, uint8_t* dst, const uint8_t* src) {
    cast128_encrypt(static_cast<const cast128_ctx*>(ctx), length, dst, src);
}

std::array<uint8_t, Cast128Cfb8::BlockSize> registerFrom(QByteArrayView iv) {
    Q_ASSERT(iv.size() == Cast128Cfb8::BlockSize);
    std::array<uint8_t, Cast128Cfb8::BlockSize> reg{};
    std::memcpy(reg.data(), iv.data(), reg.size());
    return reg;
}

} // namespace

Cast128Cfb8::Cast128Cfb8(QByteArrayView key) {
    Q_ASSERT(key.size() == KeySize);
    cast128_set_key(&m_ctx, u8(key.data()));
}

QByteArray Cast128Cfb8::encryptBlock(QByteArrayView block) const {
    Q_ASSERT(block.size() == BlockSize);
    QByteArray out(BlockSize, Qt::Uninitialized);
    cast128_encrypt(&m_ctx, BlockSize, u8(out.data()), u8(block.data()));
    return out;
}

QByteArray Cast128Cfb8::encrypt(QByteArrayView iv, QByteArrayView plain) const {
    auto reg = registerFrom(iv);
    QByteArray out(plain.size(), Qt::Uninitialized);
    if (!plain.isEmpty())
        cfb8_encrypt(&m_ctx, castEncrypt, BlockSize, reg.data(), static_cast<size_t>(plain.size()),
                     u8(out.data()), u8(plain.data()));
    return out;
}

QByteArray Cast128Cfb8::decrypt(QByteArrayView iv, QByteArrayView cipher) const {
    auto reg = registerFrom(iv);
    QByteArray out(cipher.size(), Qt::Uninitialized);
    if (!cipher.isEmpty())
        cfb8_decrypt(&m_ctx, castEncrypt, BlockSize, reg.data(), static_cast<size_t>(cipher.size()),
                     u8(out.data()), u8(cipher.data()));
    return out;
}

QByteArray Sha1Digest(QByteArrayView bytes) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, static_cast<size_t>(bytes.size()), u8(bytes.data()));
    QByteArray digest(SHA1_DIGEST_SIZE, Qt::Uninitialized);
    sha1_digest(&ctx, SHA1_DIGEST_SIZE, u8(digest.data()));
    return digest;
}

} // namespace qev
