#include "tests/net/NetServers.h"

#include "framework/Handles.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>
#include <winsock2.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace nettest {

std::wstring ServersFolder() {
    return nvxtest::BuildFolder() + L"\\net-servers";
}

int ServerPort(const wchar_t* name) {
    std::wstring ini = ServersFolder() + L"\\servers.ini";
    return static_cast<int>(::GetPrivateProfileIntW(L"ports", name, 0, ini.c_str()));
}

std::wstring ServerUrl(const wchar_t* name, const std::wstring& path) {
    int port = ServerPort(name);
    EXPECT_NE(port, 0) << "the test servers are not running; ctest starts them (fixture net_servers), or run "
                          "tests/net/servers/netservers.py start <build>/net-servers";
    const wchar_t* scheme = std::wstring(name).rfind(L"https", 0) == 0 ? L"https" : L"http";
    return std::wstring(scheme) + L"://127.0.0.1:" + std::to_wstring(port) + path;
}

int ClosedPort() {
    // Bind an ephemeral port and let it go: nothing listens there afterwards.
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::closesocket(s);
    ::WSACleanup();
    return ntohs(address.sin_port);
}

std::wstring NewTag() {
    static std::atomic<int> counter{0};
    return L"t" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount()) + L"-" +
           std::to_wstring(++counter);
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RecordedRequests(const std::wstring& tag) {
    return ReadWholeFile(ServersFolder() + L"\\requests\\" + tag + L".txt");
}

std::wstring FreshDownloadFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::wstring root = nvxtest::BuildFolder() + L"\\net-downloads";
    std::wstring folder = root + L"\\" + std::wstring(name.begin(), name.end());
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return folder;
}

int64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool HoldsPattern(const std::wstring& path, uint64_t size) {
    if (FileSize(path) != static_cast<int64_t>(size))
        return false;
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::vector<char> buffer(1 << 16);
    uint64_t offset = 0;
    while (offset < size) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        std::streamsize got = in.gcount();
        if (got <= 0 || !MatchesPattern(buffer.data(), static_cast<size_t>(got), offset))
            return false;
        offset += static_cast<uint64_t>(got);
    }
    return true;
}

size_t CountOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace nettest
