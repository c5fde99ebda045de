#pragma once
// The process-wide WinINet session shared by every request, and the lock held while a
// batch of downloaded bytes is written to its file.
#include "framework/Handles.h"
#include "framework/WinInet.h"

#include <windows.h>

#include <mutex>

extern HINTERNET internet_session;
// Taken with std::lock_guard for the seek-write-flush of one batch.
extern CCriticalSection file_write_lock;

inline constexpr wchar_t kUserAgent[] = L"Lumetra Web Installer Client";

// How long a read waits on a silent server before it fails. Windows' WinINet has such a
// limit by default and Wine's has none, so a stalled body would hold the installer (and its
// cancel) forever; the session sets it explicitly.
inline constexpr DWORD kReceiveTimeoutMs = 30000;
// The limit in force (tests shorten it).
extern DWORD receive_timeout_ms;

// Opens internet_session when it is still null; answers whether a session is open.
bool OpenInternetSession() noexcept;

// Owns the session for the life of the process: opens it on construction, closes it on
// destruction. The application object holds the one owner; a second owner alive at the same
// time (a test harness, a tool) shares the first one's session, and the last owner to go
// closes it.
class CInternetSessionOwner {
public:
    CInternetSessionOwner() noexcept;
    ~CInternetSessionOwner();
    CInternetSessionOwner(const CInternetSessionOwner&) = delete;
    CInternetSessionOwner& operator=(const CInternetSessionOwner&) = delete;
};
