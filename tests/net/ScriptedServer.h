#pragma once
// Stand-ins around a resumable download: a server that answers from a script, a file that keeps
// an image of what was written, and a clock whose waits are only recorded.
#include "net/ResumableDownload.h"
#include "tests/net/Pattern.h"
#include "tests/net/ScriptedTransfer.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace nettest {

// One scripted answer: no answer at all (`error` set), or a head and a body of pattern bytes
// starting at `body_from` of which `deliver` arrive before the body ends (`end_error` 0: cleanly,
// else a failed read).
struct ScriptedAnswer {
    uint32_t error = 0;
    ResponseHead head;
    uint64_t body_from = 0;
    uint64_t deliver = 0;
    uint32_t end_error = 0;
};

inline ScriptedAnswer Whole(uint32_t status, int64_t length) {
    ScriptedAnswer a;
    a.head.status = status;
    a.head.has_length = true;
    a.head.length = length;
    a.deliver = static_cast<uint64_t>(length);
    return a;
}

inline ScriptedAnswer Cut(int64_t length, uint64_t deliver, uint32_t end_error = 12031) {
    ScriptedAnswer a = Whole(200, length);
    a.deliver = deliver;
    a.end_error = end_error;
    return a;
}

inline ScriptedAnswer Range(int64_t first, int64_t length, std::wstring content_range = {}) {
    ScriptedAnswer a;
    a.head.status = 206;
    a.head.has_length = true;
    a.head.length = length - first;
    a.head.content_range = content_range.empty()
                               ? L"bytes " + std::to_wstring(first) + L"-" + std::to_wstring(length - 1) +
                                     L"/" + std::to_wstring(length)
                               : content_range;
    a.body_from = static_cast<uint64_t>(first);
    a.deliver = static_cast<uint64_t>(length - first);
    return a;
}

inline ScriptedAnswer Status(uint32_t status, std::wstring retry_after = {}) {
    ScriptedAnswer a = Whole(status, 512);
    a.head.retry_after = std::move(retry_after);
    return a;
}

inline ScriptedAnswer NoAnswer(uint32_t error) {
    ScriptedAnswer a;
    a.error = error;
    return a;
}

class CScriptedBody final : public IByteSource {
public:
    explicit CScriptedBody(const ScriptedAnswer& answer) : answer_(answer) {}

    bool QueryDataAvailable(uint32_t& available) override {
        if (sent_ == answer_.deliver && answer_.end_error != 0)
            return false;
        available = static_cast<uint32_t>(std::min<uint64_t>(8192, answer_.deliver - sent_));
        return true;
    }
    bool Read(uint8_t* buffer, uint32_t size, uint32_t& read) override {
        read = static_cast<uint32_t>(std::min<uint64_t>({uint64_t{size}, 8192u, answer_.deliver - sent_}));
        for (uint32_t i = 0; i < read; ++i)
            buffer[i] = PatternByte(answer_.body_from + sent_ + i);
        sent_ += read;
        return true;
    }
    uint32_t LastError() const override { return answer_.end_error; }

private:
    ScriptedAnswer answer_;
    uint64_t sent_ = 0;
};

class CScriptedResponse final : public IFileResponse {
public:
    explicit CScriptedResponse(const ScriptedAnswer& answer) : head_(answer.head), body_(answer) {}
    const ResponseHead& Head() const override { return head_; }
    IByteSource& Body() override { return body_; }

private:
    ResponseHead head_;
    CScriptedBody body_;
};

class CScriptedServer final : public IFileTransport {
public:
    SendResult Send(uint64_t offset) override {
        offsets.push_back(offset);
        SendResult result;
        if (answers.empty()) {
            result.error = 12029;
            return result;
        }
        ScriptedAnswer answer = answers.front();
        answers.pop_front();
        if (answer.error != 0) {
            result.error = answer.error;
            result.message = L"HttpSendRequest Failed.";
            return result;
        }
        result.response = std::make_unique<CScriptedResponse>(answer);
        return result;
    }

    std::deque<ScriptedAnswer> answers;
    std::vector<uint64_t> offsets; // the offset of each request sent
};

class CImageTarget final : public IDownloadTarget {
public:
    TargetReady Prepare(uint64_t length) override {
        prepared.push_back(length);
        return ready;
    }
    void WriteBatch(uint64_t offset, const uint8_t* data, size_t size) override {
        image.WriteBatch(offset, data, size);
    }
    void Flush() override { image.Flush(); }

    TargetReady ready = TargetReady::Ready;
    std::vector<uint64_t> prepared;
    CImageWriter image;
};

class CRecordingClock final : public ITransferClock {
public:
    explicit CRecordingClock(ICancelRequest& cancel) : cancel_(cancel) {}
    bool Wait(uint32_t ms) override {
        waits.push_back(ms);
        if (on_wait)
            on_wait();
        return !cancel_.IsCancelRequested();
    }
    void PauseNap() override { ++naps; }
    uint32_t Random() override { return random; }
    int64_t NowUnixSeconds() override { return 784111777; }
    uint64_t NowMs() override { return ms += 10; }

    std::vector<uint32_t> waits;
    std::function<void()> on_wait;
    uint32_t random = 0xFFFFFFFFu;
    int naps = 0;
    uint64_t ms = 0;

private:
    ICancelRequest& cancel_;
};

} // namespace nettest
