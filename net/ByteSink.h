#pragma once
// Where a copied document goes: bytes in the order they arrive. A plain interface rather than a
// C++ output stream, whose locale machinery would more than double the installer's size.
#include <cstddef>
#include <cstdint>

class IByteSink {
public:
    // Takes the bytes; false when they could not be taken (nothing more should be written).
    [[nodiscard]] virtual bool Write(const uint8_t* data, size_t size) = 0;

protected:
    ~IByteSink() = default;
};
