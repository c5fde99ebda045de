#include "net/InternetSession.h"

HINTERNET internet_session = nullptr;
CCriticalSection file_write_lock;
DWORD receive_timeout_ms = kReceiveTimeoutMs;

namespace {

// Owners are created and destroyed on the main thread (static construction, test set-up).
int owner_count = 0;

} // namespace

bool OpenInternetSession() noexcept {
    if (!internet_session) {
        internet_session =
            nvx::wininet::InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        if (internet_session) {
            DWORD timeout = receive_timeout_ms;
            nvx::wininet::InternetSetOptionW(internet_session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout,
                                             sizeof(timeout));
        }
    }
    return internet_session != nullptr;
}

CInternetSessionOwner::CInternetSessionOwner() noexcept {
    ++owner_count;
    OpenInternetSession();
}

CInternetSessionOwner::~CInternetSessionOwner() {
    if (--owner_count != 0)
        return;
    if (internet_session) {
        nvx::wininet::InternetCloseHandle(internet_session);
        internet_session = nullptr;
    }
}
