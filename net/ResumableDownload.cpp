#include "net/ResumableDownload.h"

#include "framework/Diagnostics.h"
#include "net/HttpRules.h"
#include "net/RetryRules.h"

#include <cstdio>
#include <optional>

namespace {

constexpr wchar_t kComponent[] = L"download";

// Passes the cancel query through and remembers whether a pause was seen: an attempt that broke
// off while the user held the transfer is not held against the file.
class CPauseRecorder final : public ICancelRequest {
public:
    explicit CPauseRecorder(ICancelRequest& inner) noexcept : inner_(inner) {}
    bool IsCancelRequested() override { return inner_.IsCancelRequested(); }
    bool IsPauseRequested() override {
        bool paused = inner_.IsPauseRequested();
        seen = seen || paused;
        return paused;
    }
    bool seen = false;

private:
    ICancelRequest& inner_;
};

std::wstring Number(uint64_t value) {
    return std::to_wstring(value);
}

std::wstring Fixed(double value, int decimals) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.*f", decimals, value);
    return text;
}

void Say(const std::wstring& text) {
    nvx::Diagnose(kComponent, text);
}

std::wstring DescribeHead(const ResponseHead& head) {
    std::wstring text = L"status " + Number(head.status) + L", length ";
    text += head.has_length ? Number(static_cast<uint64_t>(head.length)) : L"none";
    if (!head.content_range.empty())
        text += L", range " + head.content_range;
    if (!head.retry_after.empty())
        text += L", retry-after " + head.retry_after;
    return text;
}

// What one attempt came to.
enum class Step { Body, Retry, Stop };

struct Verdict {
    Step step = Step::Stop;
    DownloadFailure failure = DownloadFailure::None;
    std::optional<uint64_t> retry_after_ms;
    std::wstring why;
};

Verdict Retry(std::wstring why, std::optional<uint64_t> after = std::nullopt) {
    return {Step::Retry, DownloadFailure::None, after, std::move(why)};
}

Verdict Fail(DownloadFailure failure, std::wstring why) {
    return {Step::Stop, failure, std::nullopt, std::move(why)};
}

Verdict Body() {
    return {Step::Body, DownloadFailure::None, std::nullopt, {}};
}

// The file is whole.
Verdict Done() {
    return {Step::Stop, DownloadFailure::None, std::nullopt, {}};
}

class CDownloadRun {
public:
    CDownloadRun(const std::wstring& url, IFileTransport& transport, IDownloadTarget& target,
                 ICancelRequest& cancel, IDownloadCallback& sink, ITransferClock& clock,
                 DownloadStatusInfo& status)
        : url_(url), transport_(transport), target_(target), cancel_(cancel), sink_(sink), clock_(clock),
          status_(status) {}

    DownloadOutcome Run() {
        const uint64_t started = clock_.NowMs();
        Say(L"GET " + url_);
        for (;;) {
            if (!WaitWhilePaused()) {
                outcome_.failure = DownloadFailure::Cancelled;
                break;
            }
            ++outcome_.attempts;
            Verdict verdict = Attempt();
            if (verdict.step == Step::Body)
                verdict = ReadBody();
            else
                response_.reset(); // an error page is not waited on, nor read
            if (verdict.step == Step::Stop) {
                outcome_.failure = verdict.failure;
                if (verdict.failure != DownloadFailure::None && verdict.failure != DownloadFailure::Cancelled)
                    Say(L"failed: " + verdict.why + L" (" + url_ + L")");
                break;
            }
            if (outcome_.attempts >= kMaxAttempts) {
                outcome_.failure = DownloadFailure::Unreachable;
                Say(L"failed after " + Number(outcome_.attempts) + L" attempts: " + verdict.why + L" (" +
                    url_ + L")");
                break;
            }
            const uint32_t wait =
                RetryWaitMs(BackoffDelayMs(outcome_.attempts, clock_.Random()), verdict.retry_after_ms);
            Say(L"attempt " + Number(outcome_.attempts) + L" of " + Number(kMaxAttempts) + L": " +
                verdict.why + L"; waiting " + Number(wait) + L" ms, then " +
                (offset_ > 0 ? L"resuming at byte " + Number(offset_) : std::wstring(L"trying again")));
            if (!clock_.Wait(wait)) {
                outcome_.failure = DownloadFailure::Cancelled;
                break;
            }
        }
        if (outcome_.failure == DownloadFailure::Cancelled)
            Say(L"cancelled at byte " + Number(status_.received) + L" of " + Number(outcome_.length) + L" (" +
                url_ + L")");
        if (outcome_.complete())
            SayDone(clock_.NowMs() - started);
        return outcome_;
    }

private:
    bool WaitWhilePaused() {
        while (!cancel_.IsCancelRequested()) {
            if (!cancel_.IsPauseRequested())
                return true;
            clock_.PauseNap();
        }
        return false;
    }

    // Sends the request and judges the answer's head.
    Verdict Attempt() {
        SendResult sent = transport_.Send(offset_);
        if (!sent.response) {
            status_.error_code = sent.error;
            status_.message = sent.message;
            std::wstring why = L"no answer (error " + Number(sent.error) + L")";
            if (IsTransientError(sent.error))
                return Retry(why);
            return Fail(DownloadFailure::Unreachable, why);
        }
        response_ = std::move(sent.response);
        const ResponseHead& head = response_->Head();
        outcome_.status = head.status;
        Say(L"answer: " + DescribeHead(head) +
            (offset_ > 0 ? L" (asked from byte " + Number(offset_) + L")" : L""));
        if (IsTransientStatus(head.status)) {
            std::optional<uint64_t> after;
            if (head.status == 429 || head.status == 503)
                after = ParseRetryAfterMs(head.retry_after, clock_.NowUnixSeconds());
            return Retry(L"status " + Number(head.status), after);
        }
        return outcome_.length == 0 ? JudgeFirstAnswer(head) : JudgeResumeAnswer(head);
    }

    // The first usable answer is the size probe: its rules decide whether the file exists and
    // how long it is; only a 2xx then becomes the file's bytes.
    Verdict JudgeFirstAnswer(const ResponseHead& head) {
        if (!IsAcceptedProbeStatus(head.status))
            return Fail(DownloadFailure::Rejected, L"status " + Number(head.status));
        if (!head.has_length || head.length <= 0)
            return Fail(DownloadFailure::NoLength, L"no length");
        if (!IsSuccessStatus(head.status))
            return Fail(DownloadFailure::Rejected, L"status " + Number(head.status) + L" is not the file");
        outcome_.length = head.length;
        switch (target_.Prepare(static_cast<uint64_t>(head.length))) {
        case TargetReady::Ready:
            return Body();
        case TargetReady::NoRoom:
            return Fail(DownloadFailure::NoRoom,
                        L"not enough free space for " + Number(head.length) + L" bytes");
        case TargetReady::CannotCreate:
            break;
        }
        return Fail(DownloadFailure::CannotCreate, L"the file cannot be created");
    }

    Verdict JudgeResumeAnswer(const ResponseHead& head) {
        if (head.status == 206) {
            std::optional<ContentRange> range = ParseContentRange(head.content_range);
            if (!range || !ContinuesFileAt(*range, offset_, outcome_.length))
                return Fail(DownloadFailure::Changed, L"the range \"" + head.content_range +
                                                          L"\" does not continue the file at byte " +
                                                          Number(offset_));
            return Body();
        }
        if (head.status == 200) {
            if (!head.has_length || head.length != outcome_.length)
                return Fail(DownloadFailure::Changed, L"the file's length changed");
            Say(L"the server ignored the range: starting over from byte 0");
            offset_ = 0;
            status_.received = 0;
            return Body();
        }
        return Fail(DownloadFailure::Rejected, L"status " + Number(head.status));
    }

    Verdict ReadBody() {
        const ResponseHead head = response_->Head();
        const uint64_t from = offset_;
        status_.received = offset_;
        status_.error_code = 0;
        status_.message.clear();
        CPauseRecorder recorder(cancel_);
        IByteSource& body = response_->Body();
        TransferEnd end = RunFileReadLoop(
            body, target_, recorder, sink_, status_, [this] { clock_.PauseNap(); },
            [this] { return clock_.NowMs(); });
        if (end == TransferEnd::Failed) {
            status_.error_code = body.LastError();
            status_.message = L"Internet download file Failed";
        }
        // Closing mid-body must not wait for the rest of it: the request goes before anything else.
        response_.reset();
        offset_ = status_.received;
        if (end == TransferEnd::Cancelled || cancel_.IsCancelRequested())
            return Fail(DownloadFailure::Cancelled, L"cancelled");
        const uint64_t length = static_cast<uint64_t>(outcome_.length);
        if (offset_ == length) {
            status_.error_code = 0;
            status_.message.clear();
            return Done();
        }
        if (offset_ > length)
            return Fail(DownloadFailure::LengthMismatch, L"more bytes than the file's length");
        const uint64_t got = offset_ - from;
        const bool whole_answer =
            end == TransferEnd::NoMoreData && head.has_length && got >= static_cast<uint64_t>(head.length);
        if (whole_answer)
            return Fail(DownloadFailure::LengthMismatch, L"a complete answer of " + Number(got) +
                                                             L" bytes leaves the file at " + Number(offset_));
        if (recorder.seen)
            --outcome_.attempts;
        std::wstring why = end == TransferEnd::Failed
                               ? L"the body broke off (error " + Number(status_.error_code) + L")"
                               : std::wstring(L"the body ended early");
        return Retry(why + L" at byte " + Number(offset_));
    }

    void SayDone(uint64_t elapsed_ms) {
        const double seconds = static_cast<double>(elapsed_ms) / 1000.0;
        const double mib = static_cast<double>(outcome_.length) / 1048576.0;
        std::wstring rate = seconds > 0 ? Fixed(mib / seconds, 1) + L" MiB/s" : std::wstring(L"-");
        Say(L"done: " + url_ + L" status " + Number(outcome_.status) + L", " + Number(status_.received) +
            L" of " + Number(outcome_.length) + L" bytes in " + Fixed(seconds, 3) + L" s (" + rate + L"), " +
            Number(outcome_.attempts) + L" attempt(s)");
    }

    const std::wstring& url_;
    IFileTransport& transport_;
    IDownloadTarget& target_;
    ICancelRequest& cancel_;
    IDownloadCallback& sink_;
    ITransferClock& clock_;
    DownloadStatusInfo& status_;
    std::unique_ptr<IFileResponse> response_;
    uint64_t offset_ = 0;
    DownloadOutcome outcome_;
};

} // namespace

DownloadOutcome RunResumableDownload(const std::wstring& url, IFileTransport& transport,
                                     IDownloadTarget& target, ICancelRequest& cancel, IDownloadCallback& sink,
                                     ITransferClock& clock, DownloadStatusInfo& status) {
    return CDownloadRun(url, transport, target, cancel, sink, clock, status).Run();
}
