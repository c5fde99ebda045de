#pragma once
// The process-wide WinINet session shared by every request, and the lock held while a
// batch of downloaded bytes is written to its file.
#include "framework/WinInet.h"

#include <windows.h>

extern HINTERNET internet_session;
extern CRITICAL_SECTION file_write_lock;

inline constexpr wchar_t kUserAgent[] = L"Lumetra Web Installer Client";

// How long a read waits on a silent server before it fails. Windows' WinINet has such a
// limit by default and Wine's has none, so a stalled body would hold the installer (and its
// cancel) forever; the session sets it explicitly.
inline constexpr DWORD kReceiveTimeoutMs = 30000;
// The limit in force (tests shorten it).
extern DWORD receive_timeout_ms;

// Opens internet_session when it is still null; answers whether a session is open.
bool OpenInternetSession() noexcept;

// Owns both objects for the life of the process: creates the lock and opens the session on
// construction, closes the session and deletes the lock on destruction. The application object
// holds the one owner; a second owner alive at the same time (a test harness, a tool) shares
// the first one's objects, and the last owner to go releases them.
class CInternetSessionOwner {
public:
    CInternetSessionOwner() noexcept;
    ~CInternetSessionOwner();
    CInternetSessionOwner(const CInternetSessionOwner&) = delete;
    CInternetSessionOwner& operator=(const CInternetSessionOwner&) = delete;
};

// Holds file_write_lock for one scope.
class CFileWriteLockScope {
public:
    CFileWriteLockScope() noexcept { ::EnterCriticalSection(&file_write_lock); }
    ~CFileWriteLockScope() { ::LeaveCriticalSection(&file_write_lock); }
    CFileWriteLockScope(const CFileWriteLockScope&) = delete;
    CFileWriteLockScope& operator=(const CFileWriteLockScope&) = delete;
};
