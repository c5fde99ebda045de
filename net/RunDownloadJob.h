#pragma once
// Runs one download job for the installation engine, on the engine's worker thread.
#include "net/DownloadJob.h"

#include <cstdint>

// Fetches the file with one request whose answer is also the size probe, creating the file
// only when that answer is a 2xx with a length and its volume has room, and continuing a
// transfer that breaks off (net/ResumableDownload.h). Every report goes through the job to
// `callback`; `cancel` stops or pauses it (the engine's cancel event and pause gate,
// net/CancelRequest.h); without a cancel query nothing happens and the result is false. True only
// when the file holds exactly the probed number of bytes; otherwise job.failure says why. A
// file left incomplete by anything but a cancel is removed; after a cancel the bytes already
// written stay.
[[nodiscard]] bool RunDownloadJob(CDownloadJob& job, ICancelRequest* cancel, DownloadReportHandler callback);

// The share, in percent, of each wait between attempts that is actually waited (tests shorten
// the waits; the installer waits them whole).
extern uint32_t retry_wait_percent;
