#include "framework/Cng.h"

#include "framework/SystemLibrary.h"

#include <bcrypt.h>

#include <vector>

namespace nvx::cng {

namespace {

constexpr wchar_t kFileName[] = L"bcrypt.dll";
using CngDll = CProcessWideLibrary<kFileName>;
constexpr NTSTATUS kNotFound = static_cast<NTSTATUS>(0xC0000225L); // STATUS_NOT_FOUND
constexpr DWORD kReadChunk = 64 * 1024;

bool Succeeded(NTSTATUS status) noexcept {
    return status >= 0;
}

class CAlgorithm {
public:
    CAlgorithm() {
        static const auto open =
            CngDll::Entry<decltype(::BCryptOpenAlgorithmProvider)>("BCryptOpenAlgorithmProvider");
        if (!Succeeded(open.CallOr(kNotFound, &handle_, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
            handle_ = nullptr;
    }
    ~CAlgorithm() {
        static const auto close =
            CngDll::Entry<decltype(::BCryptCloseAlgorithmProvider)>("BCryptCloseAlgorithmProvider");
        if (handle_)
            close.CallOr(kNotFound, handle_, 0);
    }
    CAlgorithm(const CAlgorithm&) = delete;
    CAlgorithm& operator=(const CAlgorithm&) = delete;
    BCRYPT_ALG_HANDLE get() const noexcept { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class CHash {
public:
    explicit CHash(BCRYPT_ALG_HANDLE algorithm) {
        static const auto create = CngDll::Entry<decltype(::BCryptCreateHash)>("BCryptCreateHash");
        if (!Succeeded(create.CallOr(kNotFound, algorithm, &handle_, nullptr, 0, nullptr, 0, 0)))
            handle_ = nullptr;
    }
    ~CHash() {
        static const auto destroy = CngDll::Entry<decltype(::BCryptDestroyHash)>("BCryptDestroyHash");
        if (handle_)
            destroy.CallOr(kNotFound, handle_);
    }
    CHash(const CHash&) = delete;
    CHash& operator=(const CHash&) = delete;
    BCRYPT_HASH_HANDLE get() const noexcept { return handle_; }

private:
    BCRYPT_HASH_HANDLE handle_ = nullptr;
};

} // namespace

bool Sha256OfFile(HANDLE file, std::array<uint8_t, 32>& digest) {
    static const auto hash_data = CngDll::Entry<decltype(::BCryptHashData)>("BCryptHashData");
    static const auto finish = CngDll::Entry<decltype(::BCryptFinishHash)>("BCryptFinishHash");
    CAlgorithm algorithm;
    if (!algorithm.get())
        return false;
    CHash hash(algorithm.get());
    if (!hash.get())
        return false;
    std::vector<UCHAR> buffer(kReadChunk);
    uint64_t offset = 0;
    for (;;) {
        // The offset travels with each read, so the caller's file pointer does not matter.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!::ReadFile(file, buffer.data(), kReadChunk, &read, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            return false;
        }
        if (read == 0)
            break;
        if (!Succeeded(hash_data.CallOr(kNotFound, hash.get(), buffer.data(), read, 0)))
            return false;
        offset += read;
    }
    return Succeeded(
        finish.CallOr(kNotFound, hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
}

} // namespace nvx::cng
