#include "OpenSslBlowfish.h"

#include <openssl/evp.h>
#include <openssl/provider.h>

#include <climits>
#include <stdexcept>

struct OpenSslBlowfish::Impl {
    OSSL_PROVIDER* legacy = nullptr;
    OSSL_PROVIDER* base = nullptr;
    EVP_CIPHER* cipher = nullptr;
    EVP_CIPHER_CTX* context = nullptr;
};

OpenSslBlowfish::OpenSslBlowfish() : impl_(new Impl)
{
    impl_->legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    impl_->base = OSSL_PROVIDER_load(nullptr, "default");
    impl_->cipher = EVP_CIPHER_fetch(nullptr, "BF-ECB", nullptr);
    impl_->context = EVP_CIPHER_CTX_new();
    static const unsigned char key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    if (!impl_->legacy || !impl_->cipher || !impl_->context ||
        EVP_EncryptInit_ex2(impl_->context, impl_->cipher, key, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(impl_->context, 0) != 1)
        throw std::runtime_error("OpenSSL's Blowfish (legacy provider) is not available");
}

OpenSslBlowfish::~OpenSslBlowfish()
{
    EVP_CIPHER_CTX_free(impl_->context);
    EVP_CIPHER_free(impl_->cipher);
    if (impl_->base) OSSL_PROVIDER_unload(impl_->base);
    if (impl_->legacy) OSSL_PROVIDER_unload(impl_->legacy);
    delete impl_;
}

bool OpenSslBlowfish::encrypt(uint8_t* data, std::size_t length)
{
    while (length > 0) {
        const int piece = length > INT_MAX - 7 ? INT_MAX - 7 : static_cast<int>(length);
        int written = 0;
        if (EVP_EncryptUpdate(impl_->context, data, &written, data, piece) != 1 || written != piece) return false;
        data += piece;
        length -= static_cast<std::size_t>(piece);
    }
    return true;
}
