#pragma once
// Whether a downloaded newer installer may be started, judged on the file held open since its
// download (see DownloadUpdater), and the removal of one that may not.
#include <windows.h>

#include <string>

// True when the file open as `file` at `path` is signed as a newer copy of this installer must
// be: its signature verifies, it is signed by this installer's publisher (when this installer
// is signed) and by the manifest's `publisher` (when it names one). Says why not in the
// diagnostic channel.
bool AcceptUpdater(HANDLE file, const std::wstring& path, const std::wstring& publisher);

// Deletes the file and its folder (the folder only when it is empty then).
void DiscardUpdater(const std::wstring& path);
