// Fixture program: records how it was started, then ends. The record goes next to the
// program as "<program path>.start.txt" (written whole, then renamed into place, so a reader
// never sees half of it):
//   args=<the command line after the program path, as given>
//   argc=<number of arguments after the program path>
//   arg1=<first argument>            (only when there is one)
//   parent=<executable name of the process that started it>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring ParentExecutableName() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return L"?";
    DWORD self = ::GetCurrentProcessId();
    DWORD parent = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == self)
            parent = entry.th32ParentProcessID;
    std::wstring name = L"?";
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == parent)
            name = entry.szExeFile;
    ::CloseHandle(snapshot);
    return name;
}

// The command line after the program path, which may be quoted.
std::wstring ArgumentsText() {
    const wchar_t* line = ::GetCommandLineW();
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"')
            ++line;
        if (*line)
            ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    if (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t module[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    std::wstring record = std::wstring(module, length) + L".start.txt";
    std::wstring partial = record + L".part";
    std::wstring text = L"args=" + ArgumentsText() + L"\nargc=" + std::to_wstring(__argc - 1) + L"\n";
    if (__argc > 1)
        text += L"arg1=" + std::wstring(__wargv[1]) + L"\n";
    text += L"parent=" + ParentExecutableName() + L"\n";
    FILE* file = _wfopen(partial.c_str(), L"wb");
    if (!file)
        return 1;
    std::fwrite(text.data(), sizeof(wchar_t), text.size(), file);
    std::fclose(file);
    return ::MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
