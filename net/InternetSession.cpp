#include "net/InternetSession.h"

HINTERNET internet_session = nullptr;
CRITICAL_SECTION file_write_lock;

bool OpenInternetSession() noexcept {
    if (!internet_session)
        internet_session = ::InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    return internet_session != nullptr;
}

CInternetSessionOwner::CInternetSessionOwner() noexcept {
    ::InitializeCriticalSection(&file_write_lock);
    OpenInternetSession();
}

CInternetSessionOwner::~CInternetSessionOwner() {
    if (internet_session) {
        ::InternetCloseHandle(internet_session);
        internet_session = nullptr;
    }
    ::DeleteCriticalSection(&file_write_lock);
}
