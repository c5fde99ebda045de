#pragma once
#include <windows.h>

// A process-wide critical section whose lifetime the owner controls explicitly.
class CCriticalSection {
public:
    CCriticalSection() noexcept { ::InitializeCriticalSection(&section_); }
    ~CCriticalSection() { ::DeleteCriticalSection(&section_); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    void Lock() noexcept { ::EnterCriticalSection(&section_); }
    void Unlock() noexcept { ::LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection& section) noexcept : section_(section) { section_.Lock(); }
    ~CSingleLock() { section_.Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

private:
    CCriticalSection& section_;
};
