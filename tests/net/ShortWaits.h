#pragma once
// The waits between download attempts shortened to a tenth while it lives.
#include "net/RunDownloadJob.h"

class CShortWaits {
public:
    CShortWaits() { retry_wait_percent = 10; }
    ~CShortWaits() { retry_wait_percent = 100; }
    CShortWaits(const CShortWaits&) = delete;
    CShortWaits& operator=(const CShortWaits&) = delete;
};
