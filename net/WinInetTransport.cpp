#include "net/WinInetTransport.h"

#include "net/HttpRequest.h"
#include "net/HttpRules.h"
#include "net/WinInetSource.h"

#include <thread>

namespace {

class CWinInetResponse final : public IFileResponse {
public:
    explicit CWinInetResponse(SentRequest sent) : sent_(std::move(sent)), source_(sent_.request.get()) {
        HINTERNET request = sent_.request.get();
        DWORD status = 0;
        if (QueryStatusCode(request, status))
            head_.status = status;
        head_.has_length = QueryContentLengthHeader(request, head_.length);
        head_.content_range = QueryHeaderText(request, L"Content-Range");
        head_.retry_after = QueryHeaderText(request, L"Retry-After");
    }

    // A request closed in the middle of its body is closed on a thread of its own: Wine's
    // WinINet reads the rest of the body on close (to keep the connection), and a cancel must
    // not wait for that.
    ~CWinInetResponse() override {
        if (source_.AtEnd())
            return;
        std::thread([sent = std::move(sent_)]() mutable { sent = SentRequest{}; }).detach();
    }

    const ResponseHead& Head() const override { return head_; }
    IByteSource& Body() override { return source_; }

private:
    SentRequest sent_;
    CWinInetSource source_;
    ResponseHead head_;
};

} // namespace

SendResult CWinInetTransport::Send(uint64_t offset) {
    std::wstring range;
    if (offset > 0)
        range = L"Range: bytes=" + std::to_wstring(offset) + L"-\r\n";
    SentRequest sent = SendHttpRequest(url_, kFileRequest, offset > 0 ? &range : nullptr);
    SendResult result;
    if (!sent) {
        result.error = sent.error;
        result.message = SendFailureMessage(sent.failed);
        return result;
    }
    result.response = std::make_unique<CWinInetResponse>(std::move(sent));
    return result;
}
