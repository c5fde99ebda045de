#pragma once
// Runs one download job for the installation engine, on the engine's worker thread.
#include "net/DownloadJob.h"

// Probes the size, creates the file and downloads it, passing every report through the job to
// `callback` and stopping or pausing as `cancel` says (the engine's cancel event and pause gate,
// net/CancelRequest.h); without a cancel query nothing happens and the result is false. True only
// when the file holds the whole body: the transfer ended without a cancel and exactly the probed
// number of bytes arrived. A file left incomplete by anything but a cancel is removed; after a
// cancel the bytes already written stay.
[[nodiscard]] bool RunDownloadJob(CDownloadJob& job, ICancelRequest* cancel, DownloadReportHandler callback);
