#pragma once

#include <cstddef>
#include <cstdint>

// OpenSSL's Blowfish in ECB mode through EVP (legacy provider), the point of
// comparison for the engine's throughput.
class OpenSslBlowfish {
public:
    OpenSslBlowfish();
    ~OpenSslBlowfish();
    OpenSslBlowfish(const OpenSslBlowfish&) = delete;
    OpenSslBlowfish& operator=(const OpenSslBlowfish&) = delete;

    // Encrypts `length` bytes (a multiple of 8) in place; false on failure.
    bool encrypt(uint8_t* data, std::size_t length);

private:
    struct Impl;
    Impl* impl_;
};
