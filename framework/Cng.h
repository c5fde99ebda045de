#pragma once
// Cryptography Next Generation (bcrypt.dll), loaded from the system folder on first use (see
// SystemLibrary.h): the SHA-256 of a file that the caller holds open.
#include <windows.h>

#include <array>
#include <cstdint>

namespace nvx::cng {

// The SHA-256 of everything in `file` (opened with read access), read from its first byte
// through this handle whatever its file pointer says. False when the DLL, the algorithm or a
// read fails; the thread's last error or the failed status tells why.
bool Sha256OfFile(HANDLE file, std::array<uint8_t, 32>& digest);

} // namespace nvx::cng
