#include "tools/manifest-check/OnlineChecks.h"

#include "config/TextRules.h"
#include "framework/TextCompare.h"
#include "net/HttpRules.h"
#include "tools/manifest-check/HttpFetch.h"
#include "tools/manifest-check/Sha256.h"

#include <algorithm>

namespace {

// The first problem of an answer to the whole-file request, or nothing.
std::wstring AnswerProblem(const HttpAnswer& answer) {
    if (!answer.reached)
        return L"cannot be fetched: " + answer.failure + L".";
    std::wstring status = std::to_wstring(answer.status);
    if (!IsAcceptedProbeStatus(answer.status))
        return L"answers with status " + status +
               L": the installer's size probe takes that as no file there.";
    if (!IsSuccessStatus(answer.status))
        return L"answers with status " + status +
               L": the installer's size probe lets it pass, but what comes is an error page, not the file.";
    if (!answer.has_length)
        return L"is sent without a Content-Length: the installer cannot tell its size and the download "
               L"fails. "
               L"Serve it from a static file (no chunked or compressed transfer).";
    if (answer.length <= 0)
        return L"is sent with a Content-Length the installer cannot read as a size.";
    if (answer.body_bytes != static_cast<uint64_t>(answer.length))
        return L"is " + std::to_wstring(answer.body_bytes) + L" bytes long, but its Content-Length says " +
               std::to_wstring(answer.length) + L": the installer takes it as a broken download.";
    return {};
}

void CheckItem(const OnlineItem& item, Findings& findings) {
    auto report = [&](Severity severity, const wchar_t* code, const std::wstring& text) {
        findings.push_back({severity, code, item.file, item.line, item.column,
                            L"The address of " + item.what + L" (" + item.url + L") " + text});
    };
    if (!CanFetch(item.url)) {
        report(Severity::Note, L"not-checked",
               L"is not checked by this build (https is fetched only by the "
               L"Windows build of the checker).");
        return;
    }
    CSha256 hash;
    BodySink sink = [&hash](const uint8_t* data, size_t size) { hash.Add(data, size); };
    HttpAnswer answer = FetchUrl(item.url, false, &sink);
    std::wstring problem = AnswerProblem(answer);
    if (!problem.empty()) {
        report(Severity::Error, L"online-answer", problem);
        return;
    }
    if (!item.pin.empty()) {
        std::string digest = hash.FinishHex();
        std::wstring actual(digest.begin(), digest.end());
        if (!EqualsIgnoringAsciiCase(actual, item.pin))
            report(
                Severity::Error, L"pin-mismatch",
                L"serves bytes whose SHA-256 is " + actual + L", not the pinned " + item.pin +
                    L": the installer refuses the file. Publish the pinned file or pin the published one.");
    }
    HttpAnswer range = FetchUrl(item.url, true, nullptr);
    if (!range.reached || range.status != 206)
        report(
            Severity::Warning, L"no-ranges",
            L"does not answer \"Range: bytes=0-0\" with 206 Partial Content" +
                (range.reached ? L" (it answers " + std::to_wstring(range.status) + L")" : std::wstring()) +
                L": a download that breaks off starts over from the beginning.");
}

} // namespace

void CheckOnline(const std::vector<OnlineItem>& items, Findings& findings) {
    for (const OnlineItem& item : items)
        CheckItem(item, findings);
}

bool FetchDocument(const std::wstring& url, std::string& bytes, std::wstring& failure) {
    constexpr size_t kLimit = 1 << 20;
    if (!CanFetch(url)) {
        failure = L"this build does not fetch https";
        return false;
    }
    BodySink sink = [&bytes](const uint8_t* data, size_t size) {
        if (bytes.size() <= kLimit)
            bytes.append(reinterpret_cast<const char*>(data), std::min(size, kLimit + 1 - bytes.size()));
    };
    HttpAnswer answer = FetchUrl(url, false, &sink);
    if (!answer.reached)
        failure = answer.failure;
    else if (!IsSuccessStatus(answer.status))
        failure = L"the server answers with status " + std::to_wstring(answer.status);
    else if (bytes.size() > kLimit)
        failure = L"it is larger than 1 MiB";
    return failure.empty();
}
