#pragma once
// The installer's HTTP operations over the process-wide session. None of them shows anything.
#include "framework/File.h"
#include "net/ByteSink.h"
#include "net/DownloadStatus.h"

#include <cstdint>
#include <string>

// The size of the file at `url` from a GET's headers (the body is never read); 0 when the
// server cannot be reached, answers 403, 404, below 200 or above 500, or sends no length.
int64_t QueryContentLength(const std::wstring& url);

// Writes the body at `url` into `file` from offset 0 in flushed batches, reporting progress to
// `sink` and ending with an Ended (or, after a cancel, Cancelled) report. True when the transfer
// ended without a cancel; the caller compares the bytes received with what it expected.
[[nodiscard]] bool DownloadToFile(ICancelRequest& cancel, const std::wstring& url, CFile& file,
                                  IDownloadCallback& sink);

// Copies a small document into `out`. True only for a 2xx answer whose body arrived whole (as
// long as its Content-Length says, when it sends one) and was not cancelled.
[[nodiscard]] bool DownloadToStream(ICancelRequest& cancel, const std::wstring& url, IByteSink& out);
