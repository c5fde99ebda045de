#pragma once
// SHA-256 (FIPS 180-4), fed in pieces as a download arrives, for comparing a file with its pin.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class CSha256 {
public:
    CSha256();
    void Add(const uint8_t* data, size_t size);
    // The digest as 64 lower-case hexadecimal digits; ends the computation.
    std::string FinishHex();

private:
    void Block(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> buffer_{};
    size_t buffered_ = 0;
    uint64_t total_bytes_ = 0;
};
