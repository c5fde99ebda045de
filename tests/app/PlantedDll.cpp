// A DLL planted beside a program under the name of a system DLL (wininet.dll, msi.dll, ...). It
// exports nothing; when a process loads it, it leaves "<its file name>.loaded" beside itself,
// holding the path of that process.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t marker[MAX_PATH + 8];
    DWORD length = ::GetModuleFileNameW(instance, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    ::lstrcatW(marker, L".loaded");
    HANDLE file =
        ::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return TRUE;
    wchar_t process[MAX_PATH];
    DWORD process_length = ::GetModuleFileNameW(nullptr, process, MAX_PATH);
    DWORD written = 0;
    ::WriteFile(file, process, process_length * sizeof(wchar_t), &written, nullptr);
    ::CloseHandle(file);
    return TRUE;
}
