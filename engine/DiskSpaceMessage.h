#pragma once
// The message for a download that its volume cannot take: which drive, and how much room the
// file needs there.
#include <cstdint>
#include <string>
#include <string_view>

// The volume part of a path: "C:" for a drive path, "\\server\share" for a network path; the
// path itself when it has neither.
std::wstring VolumeOfPath(const std::wstring& path);

// Megabytes (MiB, rounded up) a file of `length` bytes needs free before it is started.
uint64_t MegabytesNeeded(uint64_t length) noexcept;

// `text` (a UI string with two "%s": the drive, then the megabytes) filled for `path`.
std::wstring DiskSpaceMessage(std::wstring_view text, const std::wstring& path, uint64_t length);
