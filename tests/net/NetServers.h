#pragma once
// Where the download tests find the servers the `net_servers` fixture started (ports in
// <build>/net-servers/servers.ini), the requests the fault server recorded, and a folder for
// downloaded files.
#include "tests/net/Pattern.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace nettest {

// Folder of the running servers' state, as a Windows path.
std::wstring ServersFolder();
// Port of one server of servers.ini ("http", "https", "https_expired", "https_wronghost",
// "https_unknown_ca", "fault"); 0 when the servers are not running.
int ServerPort(const wchar_t* name);
// "http://127.0.0.1:<port>" + path for plain servers, "https://..." for the https ones.
std::wstring ServerUrl(const wchar_t* name, const std::wstring& path);
// A loopback port nothing listens on.
int ClosedPort();

// A name unique in this test run, for the fault server's `tag` parameter.
std::wstring NewTag();
// Request heads the fault server recorded for a tag, in arrival order ("" when none).
std::string RecordedRequests(const std::wstring& tag);

// How often `part` occurs in `text` (for counting requests and headers in a recording).
size_t CountOccurrences(const std::string& text, const std::string& part);

// The bytes of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::wstring& path);

// An empty folder for the current test's downloads.
std::wstring FreshDownloadFolder();
// Size of a file, or -1 when it does not exist.
int64_t FileSize(const std::wstring& path);
// True when the file holds exactly `size` bytes of the servers' pattern.
bool HoldsPattern(const std::wstring& path, uint64_t size);

} // namespace nettest
