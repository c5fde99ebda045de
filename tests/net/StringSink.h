#pragma once
// A document copied into memory, as the tests read it; it can be told to refuse bytes.
#include "net/ByteSink.h"

#include <string>

namespace nettest {

class CStringSink final : public IByteSink {
public:
    bool refuse = false;

    bool Write(const uint8_t* data, size_t size) override {
        if (refuse)
            return false;
        bytes_.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    const std::string& str() const noexcept { return bytes_; }

private:
    std::string bytes_;
};

} // namespace nettest
