#pragma once
// The body of a sent WinINet request as a byte source for the read loops.
#include "framework/WinInet.h"
#include "net/TransferLoop.h"

#include <windows.h>

class CWinInetSource final : public IByteSource {
public:
    explicit CWinInetSource(HINTERNET request) noexcept : request_(request) {}

    bool QueryDataAvailable(uint32_t& available) override {
        DWORD bytes = 0;
        if (!nvx::wininet::InternetQueryDataAvailable(request_, &bytes, 0, 0))
            return Fail();
        available = bytes;
        at_end_ = bytes == 0;
        return true;
    }

    bool Read(uint8_t* buffer, uint32_t size, uint32_t& read) override {
        DWORD bytes = 0;
        if (!nvx::wininet::InternetReadFile(request_, buffer, size, &bytes))
            return Fail();
        read = bytes;
        at_end_ = bytes == 0 && size != 0;
        return true;
    }

    uint32_t LastError() const override { return error_; }
    // The body was read to its end, or its connection failed: nothing is left to read.
    bool AtEnd() const noexcept { return at_end_; }

private:
    bool Fail() noexcept {
        error_ = ::GetLastError();
        at_end_ = true;
        return false;
    }

    HINTERNET request_;
    uint32_t error_ = 0;
    bool at_end_ = false;
};
