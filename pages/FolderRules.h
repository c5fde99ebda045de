#pragma once
// How a typed installation folder is read and which folders the check creates for it. Plain
// rules; the page asks the file system.
#include <string>
#include <vector>

// The longest folder the check takes (its text buffer holds 264 characters with the end mark).
inline constexpr std::size_t kMaxFolderLength = 263;
// Browsing starts at a typed folder only up to this length.
inline constexpr std::size_t kMaxBrowseStartLength = 519;

// The typed text with one trailing backslash removed ("C:\" becomes the drive "C:").
std::wstring TrimFolderText(const std::wstring& typed);

// Relative as the shell's PathIsRelative sees it: neither beginning with a backslash nor with a
// drive letter and colon. An empty path is relative.
bool IsRelativeFolder(const std::wstring& path);

// The folders to make sure of, outermost first: each further component of the path in turn. A
// drive ("C:") is never among them, nor the server of a UNC path ("\\server").
std::vector<std::wstring> FolderCreationSteps(const std::wstring& path);

// Where browsing starts for a typed text: with a trailing backslash removed unless it follows a
// colon; the caller cuts it back to an existing parent.
std::wstring BrowseStartText(const std::wstring& full_path);
