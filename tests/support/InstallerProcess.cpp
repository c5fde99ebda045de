#include "tests/support/InstallerProcess.h"

#include <algorithm>

namespace nvxtest {

namespace {

std::wstring ToWindowsPath(std::string unix_path) {
    std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
    return L"Z:" + std::wstring(unix_path.begin(), unix_path.end());
}

std::wstring StripAccelerators(const std::wstring& text) {
    std::wstring plain;
    for (wchar_t c : text)
        if (c != L'&')
            plain.push_back(c);
    return plain;
}

HWND FindChildWithId(HWND top, int id, bool shown_only) {
    struct Search {
        int id;
        bool shown_only;
        HWND found;
    } search{id, shown_only, nullptr};
    ::EnumChildWindows(
        top,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (::GetDlgCtrlID(child) != s->id || (s->shown_only && !::IsWindowVisible(child)))
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::wstring BuildFolder() {
    if (const char* build = std::getenv("NVX_BUILD_DIR"))
        return ToWindowsPath(build);
    // Test executables live in <build>/tests, the installer in <build>.
    wchar_t module[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module, length);
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    if (::GetFileAttributesW((folder + L"\\webinstaller.exe").c_str()) == INVALID_FILE_ATTRIBUTES)
        folder = folder.substr(0, folder.find_last_of(L'\\'));
    return folder;
}

std::wstring InstallerExePath() {
    return BuildFolder() + L"\\webinstaller.exe";
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(milliseconds - elapsed, 20),
                                    QS_ALLINPUT);
    }
}

CInstallerProcess::~CInstallerProcess() {
    Terminate();
}

bool CInstallerProcess::Start(const std::wstring& arguments, const std::wstring& exe_path) {
    std::wstring command_line = L"\"" + exe_path + L"\"";
    if (!arguments.empty())
        command_line += L" " + arguments;
    std::wstring folder = exe_path.substr(0, exe_path.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe_path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    process_id_ = info.dwProcessId;
    return true;
}

bool CInstallerProcess::WaitForExit(DWORD timeout_ms, DWORD* exit_code) {
    if (!process_)
        return false;
    DWORD start = ::GetTickCount();
    for (;;) {
        HANDLE handle = process_.get();
        DWORD waited = ::MsgWaitForMultipleObjects(1, &handle, FALSE, 20, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) {
            if (exit_code)
                ::GetExitCodeProcess(handle, exit_code);
            return true;
        }
        PumpMessages(0);
        if (::GetTickCount() - start >= timeout_ms)
            return false;
    }
}

bool CInstallerProcess::IsRunning() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void CInstallerProcess::Terminate() {
    if (IsRunning()) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

std::vector<HWND> CInstallerProcess::TopLevelWindows() const {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{process_id_, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid == s->pid)
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CInstallerProcess::WaitForWindow(const std::function<bool(HWND)>& ready, DWORD timeout_ms) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindows())
                if (ready(hwnd)) {
                    found = hwnd;
                    return true;
                }
            return !IsRunning();
        },
        timeout_ms);
    return found;
}

HWND CInstallerProcess::WaitForWindow(const wchar_t* class_name, const std::wstring& title_part,
                                      DWORD timeout_ms) const {
    return WaitForWindow(
        [&](HWND hwnd) {
            return (!class_name || ClassName(hwnd) == class_name) &&
                   WindowText(hwnd).find(title_part) != std::wstring::npos && HasSettled(hwnd);
        },
        timeout_ms);
}

HWND CInstallerProcess::WaitForShownWindow(const wchar_t* class_name, DWORD timeout_ms) const {
    return WaitForWindow(
        [&](HWND hwnd) {
            return (!class_name || ClassName(hwnd) == class_name) && IsUsable(hwnd) && HasSettled(hwnd);
        },
        timeout_ms);
}

HWND CInstallerProcess::WaitForMessageBox(DWORD timeout_ms, const std::wstring& text_part) const {
    // A box exists, and has its buttons, before it is given its text: the text is set while it
    // initialises, and it is shown after that.
    return WaitForWindow(
        [&](HWND hwnd) {
            return ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) &&
                   ChildTexts(hwnd).find(text_part) != std::wstring::npos && HasSettled(hwnd);
        },
        timeout_ms);
}

std::optional<DWORD> CInstallerProcess::AnswerBoxAndWaitForExit(DWORD timeout_ms,
                                                                const std::wstring& text_part,
                                                                const std::wstring& button) {
    HWND box = WaitForMessageBox(timeout_ms, text_part);
    if (!box)
        return std::nullopt;
    PressButton(FindChildByText(box, button));
    DWORD exit_code = 0;
    if (!WaitForExit(timeout_ms, &exit_code))
        return std::nullopt;
    return exit_code;
}

bool HasSettled(HWND hwnd, DWORD timeout_ms) {
    for (int round = 0; round < 2; ++round) {
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &answer))
            return false;
    }
    return true;
}

bool IsUsable(HWND control) {
    return ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::wstring ControlText(HWND control) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                               SMTO_NORMAL, 5000, &copied))
        return {};
    return std::wstring(text, std::min<std::size_t>(copied, std::size(text) - 1));
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    return name;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
    struct Search {
        std::wstring text;
        HWND found;
    } search{StripAccelerators(text), nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (StripAccelerators(WindowText(hwnd)) == s->text) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ChildTexts(HWND parent) {
    std::wstring texts;
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* all = reinterpret_cast<std::wstring*>(param);
            *all += WindowText(hwnd) + L"\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void PressButton(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

void ClickControl(HWND control) {
    RECT rect{};
    ::GetClientRect(control, &rect);
    LPARAM centre = MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2);
    ::PostMessageW(control, WM_MOUSEMOVE, 0, centre);
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::PostMessageW(control, WM_LBUTTONUP, 0, centre);
}

HWND KeyboardFocus(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == top || ::IsChild(top, info.hwndFocus)))
        return info.hwndFocus;
    return top;
}

void PostKeyPress(HWND focus, UINT virtual_key) {
    const UINT scan = ::MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
    ::PostMessageW(focus, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
    ::PostMessageW(focus, WM_KEYUP, virtual_key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

bool WaitUntilPostedHandled(HWND edit, DWORD timeout_ms) {
    auto selection_end = [edit](DWORD_PTR& end) {
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutW(edit, EM_GETSEL, 0, 0, SMTO_NORMAL, 1000, &answer))
            return false;
        end = HIWORD(answer);
        return true;
    };
    DWORD_PTR before = 0;
    if (!selection_end(before))
        return false;
    const DWORD_PTR wanted = before == 0 ? 1 : 0;
    ::PostMessageW(edit, EM_SETSEL, 0, static_cast<LPARAM>(wanted));
    DWORD_PTR now = before;
    return WaitUntil([&] { return !::IsWindow(edit) || (selection_end(now) && now == wanted); },
                     timeout_ms) &&
           ::IsWindow(edit);
}

HWND FindControl(HWND top, int id) {
    return FindChildWithId(top, id, false);
}

std::vector<HWND> ShownDialogs(const CInstallerProcess& installer) {
    std::vector<HWND> shown;
    for (HWND hwnd : installer.TopLevelWindows())
        if (ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd))
            shown.push_back(hwnd);
    return shown;
}

bool CloseWizardConfirming(const CInstallerProcess& installer, HWND wizard, DWORD timeout_ms) {
    ::PostMessageW(wizard, WM_CLOSE, 0, 0);
    HWND box = installer.WaitForMessageBox(timeout_ms, L"cancel the installation");
    HWND yes = box ? FindChildByText(box, L"Yes") : nullptr;
    if (!yes)
        return false;
    PressButton(yes);
    return true;
}

HWND FindShownControl(HWND top, int id) {
    return FindChildWithId(top, id, true);
}

HWND WaitForShownControl(HWND top, int id, DWORD timeout_ms) {
    HWND control = nullptr;
    WaitUntil([&] { return (control = FindShownControl(top, id)) != nullptr || !::IsWindow(top); },
              timeout_ms);
    return control;
}

} // namespace nvxtest
