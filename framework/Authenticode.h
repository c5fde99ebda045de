#pragma once
// The Authenticode signature of a program or package, read and checked through the system
// (wintrust.dll, crypt32.dll). SignatureRules.h says what a signature allows.
#include "framework/SignatureRules.h"

#include <windows.h>

#include <string>

namespace nvx {

// Reads and checks the signature of the file open as `file` (with read access; `path` names it,
// for the system's choice of file type). The whole file is verified (WinVerifyTrust: no
// revocation look-up, nothing fetched from the network) and the signer's chain is checked once
// more with the Authenticode chain policy and its trust bits: Wine's WinVerifyTrust lets a
// signer from an untrusted root pass, and its policy a chain that breaks off.
FileSignature ReadFileSignature(HANDLE file, const std::wstring& path);

// The running program's own signature, read once.
const FileSignature& OwnSignature();

} // namespace nvx
