// The framework's modal loop, driven the way a user drives it: keystrokes posted to the
// focused control from another thread pass PreTranslateMessage and the dialog manager;
// message boxes opened inside it (from the dialog's thread and from a worker it owns) are
// answered while the loop keeps serving the dialog.
#include "framework/Dialog.h"
#include "tests/framework/UiDriver.h"
#include "tests/framework/test_resources.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using nvxtest::kUiTimeoutMs;
using nvxtest::WaitUntil;

constexpr UINT kEnd = WM_APP + 10;     // EndDialog(wparam)
constexpr UINT kFocus = WM_APP + 11;   // focus the control with id wparam
constexpr UINT kOpenBox = WM_APP + 12; // a message box with text "Box <wparam>"
constexpr UINT kPing = WM_APP + 13;    // counted
constexpr UINT kWorkerDone = WM_APP + 14;

// The dialog of these tests: an edit field, a button, OK (default) and Cancel.
class CKeysDialog : public CDialog {
public:
    explicit CKeysDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_KEYS, parent) {}

    std::atomic<HWND> window{nullptr};
    std::atomic<DWORD> thread_id{0};
    std::atomic<int> ok{0}, cancel{0}, pings{0};
    std::vector<std::pair<int, int>> box_answers; // (box, answer) in the order the boxes ended

    HWND Item(int id) const { return ::GetDlgItem(window, id); }

protected:
    BOOL OnInitDialog() override {
        window = GetSafeHwnd();
        thread_id = ::GetCurrentThreadId();
        return TRUE;
    }
    void OnOK() override {
        ++ok;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancel;
        CDialog::OnCancel();
    }
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        switch (msg) {
        case kEnd:
            EndDialog(static_cast<INT_PTR>(wparam));
            return 0;
        case kFocus:
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(static_cast<int>(wparam))), TRUE);
            return 0;
        case kOpenBox: {
            std::wstring text = L"Box " + std::to_wstring(wparam);
            int answer = ::MessageBoxW(GetSafeHwnd(), text.c_str(), L"Nested", MB_OKCANCEL);
            box_answers.emplace_back(static_cast<int>(wparam), answer);
            return 0;
        }
        case kPing:
            ++pings;
            return 0;
        default:
            return CDialog::WindowProc(msg, wparam, lparam);
        }
    }
};

// Moves the focus to a control of the running dialog and waits until it is there.
bool FocusControl(CKeysDialog& dialog, int control_id) {
    ::PostMessageW(dialog.window, kFocus, static_cast<WPARAM>(control_id), 0);
    HWND control = dialog.Item(control_id);
    return WaitUntil([&] { return nvxtest::FocusOfThread(dialog.thread_id) == control; }, kUiTimeoutMs);
}

bool WaitForDialog(CKeysDialog& dialog) {
    return WaitUntil([&] { return dialog.window.load() && ::IsWindowVisible(dialog.window); }, kUiTimeoutMs);
}

bool WaitUntilGone(HWND hwnd) {
    return WaitUntil([&] { return !::IsWindow(hwnd); }, kUiTimeoutMs);
}

TEST(ModalLoop, EnterAndEscapeTypedInTheFocusedControlEndTheDialog) {
    struct Case {
        WORD key;
        INT_PTR result;
        int ok, cancel;
    };
    for (Case c : {Case{VK_RETURN, IDOK, 1, 0}, Case{VK_ESCAPE, IDCANCEL, 0, 1}}) {
        SCOPED_TRACE(c.key);
        CWnd owner;
        ASSERT_TRUE(owner.Create(WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 200}, nullptr, 0));
        CKeysDialog dialog(&owner);
        std::atomic<bool> owner_disabled{false};
        nvxtest::CUiDriver driver([&] {
            if (!WaitForDialog(dialog) || !FocusControl(dialog, IDC_TEST_EDIT))
                return false;
            owner_disabled = !::IsWindowEnabled(owner.GetSafeHwnd());
            nvxtest::PostKeystroke(nvxtest::FocusOfThread(dialog.thread_id), c.key);
            return WaitUntilGone(dialog.window);
        });
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.ok.load(), c.ok);
        EXPECT_EQ(dialog.cancel.load(), c.cancel);
        EXPECT_TRUE(owner_disabled) << "the owner stays usable during the modal loop";
        EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_FALSE(::IsWindow(dialog.window));
        EXPECT_TRUE(driver.Finish());
    }
}

// A control and its dialog that each see the keys of the loop before the dialog manager.
struct CKeyLog {
    std::mutex mutex;
    std::vector<std::wstring> entries;
    void Add(const std::wstring& entry) {
        std::lock_guard lock(mutex);
        entries.push_back(entry);
    }
};

class CLoggingEdit : public CWnd {
public:
    explicit CLoggingEdit(CKeyLog& log) : log_(log) {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN)
            log_.Add(L"edit");
        return FALSE;
    }

private:
    CKeyLog& log_;
};

// A button that turns a double click into a second plain press, as the skinned buttons do.
class CPressButton : public CWnd {
public:
    std::atomic<int> presses{0}, double_clicks{0};
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_LBUTTONDBLCLK)
            msg->message = WM_LBUTTONDOWN;
        return FALSE;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (msg == WM_LBUTTONDOWN)
            ++presses;
        if (msg == WM_LBUTTONDBLCLK)
            ++double_clicks;
        return CWnd::WindowProc(msg, wparam, lparam);
    }
};

// Swallows every key press, as the client validator does, so that Enter and Escape cannot end it.
class CSwallowingDialog : public CKeysDialog {
public:
    explicit CSwallowingDialog(CKeyLog& log) : edit(log), log_(log) {}
    CLoggingEdit edit;
    CPressButton button;
    std::atomic<int> button_commands{0};

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN)
            return FALSE;
        log_.Add(L"dialog");
        return TRUE;
    }

protected:
    BOOL OnInitDialog() override {
        EXPECT_TRUE(edit.SubclassDlgItem(IDC_TEST_EDIT, this));
        EXPECT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, this));
        return CKeysDialog::OnInitDialog();
    }
    bool OnCommand(WPARAM wparam, LPARAM lparam) override {
        if (LOWORD(wparam) == IDC_TEST_BUTTON && HIWORD(wparam) == BN_CLICKED)
            ++button_commands;
        return CKeysDialog::OnCommand(wparam, lparam);
    }

private:
    CKeyLog& log_;
};

TEST(ModalLoop, PreTranslateMessageSeesEachMessageFromItsWindowUpAndCanSwallowOrChangeIt) {
    CKeyLog log;
    CSwallowingDialog dialog(log);
    nvxtest::CUiDriver driver([&] {
        if (!WaitForDialog(dialog) || !FocusControl(dialog, IDC_TEST_EDIT))
            return false;
        HWND edit = dialog.Item(IDC_TEST_EDIT);
        nvxtest::PostKeystroke(edit, VK_RETURN);
        nvxtest::PostKeystroke(edit, VK_ESCAPE);
        // A double click on the button arrives as a second press and still makes a click.
        HWND button = dialog.Item(IDC_TEST_BUTTON);
        LPARAM at = MAKELPARAM(5, 5);
        ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(button, WM_LBUTTONUP, 0, at);
        ::PostMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageW(button, WM_LBUTTONUP, 0, at);
        ::PostMessageW(dialog.window, kEnd, 77, 0); // queued behind the input above
        return WaitUntilGone(dialog.window);
    });
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_EQ(dialog.ok.load(), 0) << "Enter reached the dialog manager";
    EXPECT_EQ(dialog.cancel.load(), 0) << "Escape reached the dialog manager";
    EXPECT_EQ(log.entries, (std::vector<std::wstring>{L"edit", L"dialog", L"edit", L"dialog"}));
    EXPECT_EQ(dialog.button.presses.load(), 2);
    EXPECT_EQ(dialog.button.double_clicks.load(), 0);
    EXPECT_EQ(dialog.button_commands.load(), 2);
    EXPECT_TRUE(driver.Finish());
}

// Records whether the dialog window was ever shown.
class CVisibilityProbe : public CKeysDialog {
public:
    explicit CVisibilityProbe(bool hide) : hide_(hide) {}
    bool ever_shown = false;
    bool visible_in_loop = false;

protected:
    BOOL OnInitDialog() override {
        if (hide_)
            ShowWindow(SW_HIDE);
        PostMessage(kPing); // handled once the loop runs
        return CKeysDialog::OnInitDialog();
    }
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if ((msg == WM_SHOWWINDOW && wparam) ||
            (msg == WM_WINDOWPOSCHANGING && (reinterpret_cast<WINDOWPOS*>(lparam)->flags & SWP_SHOWWINDOW)))
            ever_shown = true;
        if (msg == kPing) {
            visible_in_loop = ::IsWindowVisible(GetSafeHwnd());
            EndDialog(IDOK);
        }
        return CKeysDialog::WindowProc(msg, wparam, lparam);
    }

private:
    bool hide_;
};

TEST(ModalLoop, DialogAppearsAfterInitUnlessInitHidIt) {
    for (bool hide : {false, true}) {
        SCOPED_TRACE(hide ? "hidden by OnInitDialog" : "default");
        CVisibilityProbe dialog(hide); // its template is marked visible
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.visible_in_loop, !hide);
        EXPECT_EQ(dialog.ever_shown, !hide);
    }
}

TEST(ModalLoop, QuitEndsTheLoopAndIsPostedAgainForTheOuterLoop) {
    struct CQuitting : CKeysDialog {
        BOOL OnInitDialog() override {
            ::PostQuitMessage(7);
            return CKeysDialog::OnInitDialog();
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(::IsWindow(dialog.window));
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(ModalLoop, EndDialogFromAMessageSentByAnotherThreadEndsTheLoop) {
    CKeysDialog dialog;
    nvxtest::CUiDriver driver([&] {
        if (!WaitForDialog(dialog))
            return false;
        // Sent messages are handled inside GetMessage, which does not return for them.
        ::SendMessageW(dialog.window, kEnd, 5, 0);
        return WaitUntilGone(dialog.window);
    });
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_TRUE(driver.Finish());
}

TEST(ModalLoop, NestedMessageBoxesOnTheDialogsThreadAndTheLoopAfterThem) {
    CKeysDialog dialog;
    nvxtest::CUiDriver driver([&] {
        if (!WaitForDialog(dialog))
            return false;
        HWND owner = dialog.window;
        ::PostMessageW(owner, kOpenBox, 1, 0);
        HWND first = nvxtest::WaitForMessageBox(owner, L"Box 1");
        if (!first)
            return false;
        EXPECT_FALSE(::IsWindowEnabled(owner));
        // The first box's loop dispatches the dialog's posted messages: a second box opens on top.
        ::PostMessageW(owner, kOpenBox, 2, 0);
        HWND second = nvxtest::WaitForMessageBox(owner, L"Box 2");
        if (!second)
            return false;
        nvxtest::PressKeyInMessageBox(second, VK_RETURN);
        if (!WaitUntilGone(second))
            return false;
        nvxtest::PressKeyInMessageBox(first, VK_ESCAPE);
        if (!WaitUntilGone(first))
            return false;
        // Back in the framework's loop: the dialog takes keys again.
        if (!FocusControl(dialog, IDC_TEST_EDIT))
            return false;
        nvxtest::PostKeystroke(dialog.Item(IDC_TEST_EDIT), VK_ESCAPE);
        return WaitUntilGone(owner);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.box_answers, (std::vector<std::pair<int, int>>{{2, IDOK}, {1, IDCANCEL}}));
    EXPECT_TRUE(driver.Finish());
}

// Starts a worker that asks the user through a box owned by the dialog, and ends with the answer.
class CWorkerBoxDialog : public CKeysDialog {
public:
    ~CWorkerBoxDialog() override {
        if (worker_.joinable())
            worker_.join();
    }
    bool enabled_after_box = false;

protected:
    BOOL OnInitDialog() override {
        worker_ = std::thread([hwnd = GetSafeHwnd()] {
            int answer = ::MessageBoxW(hwnd, L"From the worker", L"Worker", MB_OKCANCEL);
            ::PostMessageW(hwnd, kWorkerDone, static_cast<WPARAM>(answer), 0);
        });
        return CKeysDialog::OnInitDialog();
    }
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (msg == kWorkerDone) {
            enabled_after_box = ::IsWindowEnabled(GetSafeHwnd());
            EndDialog(static_cast<INT_PTR>(wparam));
            return 0;
        }
        return CKeysDialog::WindowProc(msg, wparam, lparam);
    }

private:
    std::thread worker_;
};

TEST(ModalLoop, MessageBoxOfAWorkerOwnedByTheDialogIsAnsweredWhileTheLoopServesTheDialog) {
    CWorkerBoxDialog dialog;
    nvxtest::CUiDriver driver([&] {
        if (!WaitUntil([&] { return dialog.window.load() != nullptr; }, kUiTimeoutMs))
            return false;
        HWND box = nvxtest::WaitForMessageBox(dialog.window, L"From the worker");
        if (!box)
            return false;
        EXPECT_NE(::GetWindowThreadProcessId(box, nullptr), dialog.thread_id.load());
        EXPECT_FALSE(::IsWindowEnabled(dialog.window)) << "the box disables its owner";
        // The dialog's thread keeps serving posted and sent messages meanwhile.
        for (int i = 0; i < 3; ++i)
            ::PostMessageW(dialog.window, kPing, 0, 0);
        if (!WaitUntil([&] { return dialog.pings == 3; }, kUiTimeoutMs))
            return false;
        DWORD_PTR answer = 0;
        EXPECT_TRUE(
            ::SendMessageTimeoutW(dialog.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kUiTimeoutMs, &answer));
        nvxtest::PressKeyInMessageBox(box, VK_RETURN);
        return WaitUntilGone(dialog.window);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.enabled_after_box);
    EXPECT_TRUE(driver.Finish());
}

// Pages live in a plain host window inside the dialog; Tab goes from the dialog's last
// control into the page.
class CPagedDialog : public CKeysDialog {
public:
    CWnd host;
    CDialog page{IDD_TEST_PAGE};

protected:
    BOOL OnInitDialog() override {
        EXPECT_TRUE(
            host.Create(WS_CHILD | WS_VISIBLE, RECT{10, 100, 210, 160}, this, 500, WS_EX_CONTROLPARENT));
        EXPECT_TRUE(page.Create(IDD_TEST_PAGE, &host));
        return CKeysDialog::OnInitDialog();
    }
};

TEST(ModalLoop, TabMovesFromTheDialogIntoAPageOfItsHost) {
    CPagedDialog dialog;
    std::atomic<bool> reached_page{false};
    nvxtest::CUiDriver driver([&] {
        if (!WaitForDialog(dialog) || !FocusControl(dialog, IDCANCEL))
            return false;
        nvxtest::PostKeystroke(dialog.Item(IDCANCEL), VK_TAB);
        HWND page_button = ::GetDlgItem(dialog.page.GetSafeHwnd(), IDC_TEST_PAGE_BUTTON);
        reached_page =
            WaitUntil([&] { return nvxtest::FocusOfThread(dialog.thread_id) == page_button; }, kUiTimeoutMs);
        ::PostMessageW(dialog.window, kEnd, IDOK, 0);
        return WaitUntilGone(dialog.window);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(reached_page);
    EXPECT_TRUE(driver.Finish());
}

TEST(ModalLoop, ModalDialogFromAModalDialogDisablesItAndGivesItBack) {
    struct COuter : CKeysDialog {
        CKeysDialog inner{this};
        INT_PTR inner_result = 0;
        LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
            if (msg == kPing) {
                inner_result = inner.DoModal();
                return 0;
            }
            return CKeysDialog::WindowProc(msg, wparam, lparam);
        }
    } outer;
    nvxtest::CUiDriver driver([&] {
        if (!WaitForDialog(outer))
            return false;
        ::PostMessageW(outer.window, kPing, 0, 0);
        if (!WaitForDialog(outer.inner) || !FocusControl(outer.inner, IDC_TEST_EDIT))
            return false;
        EXPECT_FALSE(::IsWindowEnabled(outer.window));
        nvxtest::PostKeystroke(outer.inner.Item(IDC_TEST_EDIT), VK_ESCAPE);
        if (!WaitUntilGone(outer.inner.window))
            return false;
        if (!WaitUntil([&] { return ::IsWindowEnabled(outer.window) != FALSE; }, kUiTimeoutMs) ||
            !FocusControl(outer, IDC_TEST_EDIT))
            return false;
        nvxtest::PostKeystroke(outer.Item(IDC_TEST_EDIT), VK_RETURN);
        return WaitUntilGone(outer.window);
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(outer.inner_result, IDCANCEL);
    EXPECT_TRUE(driver.Finish());
}

} // namespace
