#pragma once
// The file requests of a resumable download over the process-wide WinINet session.
#include "net/ResumableDownload.h"

#include <string>

class CWinInetTransport final : public IFileTransport {
public:
    explicit CWinInetTransport(std::wstring url) : url_(std::move(url)) {}
    SendResult Send(uint64_t offset) override;

private:
    std::wstring url_;
};
