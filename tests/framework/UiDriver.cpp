#include "tests/framework/UiDriver.h"

#include "tests/support/InstallerProcess.h"

#include <vector>

namespace nvxtest {

namespace {

std::vector<HWND> DialogsOfThisProcess() {
    std::vector<HWND> found;
    ::EnumWindows(
        [](HWND hwnd, LPARAM found_pointer) -> BOOL {
            DWORD process = 0;
            ::GetWindowThreadProcessId(hwnd, &process);
            if (process == ::GetCurrentProcessId() && ClassName(hwnd) == L"#32770")
                reinterpret_cast<std::vector<HWND>*>(found_pointer)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

void PostKeystroke(HWND target, WORD virtual_key) {
    LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, virtual_key, scan | 1);
    ::PostMessageW(target, WM_KEYUP, virtual_key, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

HWND FocusOfThread(DWORD thread_id) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(thread_id, &info) ? info.hwndFocus : nullptr;
}

HWND FindMessageBox(HWND owner, const std::wstring& text) {
    for (HWND hwnd : DialogsOfThisProcess()) {
        if (::GetWindow(hwnd, GW_OWNER) == owner && ::IsWindowVisible(hwnd) &&
            ChildTexts(hwnd).find(text) != std::wstring::npos)
            return hwnd;
    }
    return nullptr;
}

HWND WaitForMessageBox(HWND owner, const std::wstring& text) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(owner, text)) != nullptr; }, kUiTimeoutMs);
    return box;
}

void PressKeyInMessageBox(HWND box, WORD virtual_key) {
    HWND focus = FocusOfThread(::GetWindowThreadProcessId(box, nullptr));
    if (!focus || ::GetAncestor(focus, GA_ROOT) != box)
        focus = ::GetDlgItem(box, IDOK);
    PostKeystroke(focus ? focus : box, virtual_key);
}

void CancelEveryDialog() {
    for (HWND hwnd : DialogsOfThisProcess()) {
        ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    }
}

CUiDriver::CUiDriver(std::function<bool()> script)
    : thread_([this, script = std::move(script)] {
          completed_ = script();
          script_done_ = true;
          while (!completed_ && !stop_) {
              CancelEveryDialog();
              PumpMessages(50);
          }
      }) {}

CUiDriver::~CUiDriver() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

bool CUiDriver::Finish() {
    WaitUntil([this] { return script_done_.load(); }, kUiTimeoutMs);
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    return completed_;
}

} // namespace nvxtest
