// The window layer over real windows: dialogs from templates, subclassed controls with
// their own message handling, reflected notifications, and object/window lifetimes.
#include "framework/Dialog.h"
#include "tests/framework/test_resources.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr UINT kEndWithCode = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

// A control that counts clicks through its own handler and takes its click notification.
class CCountingButton : public CWnd {
public:
    int presses = 0;
    int reflected_clicks = 0;
    bool take_notifications = true;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (msg == WM_LBUTTONDOWN)
            ++presses;
        if (msg == kThrow)
            throw std::runtime_error("must not escape the window procedure");
        return CWnd::WindowProc(msg, wparam, lparam);
    }
    bool OnChildNotify(UINT msg, WPARAM wparam, LPARAM, LRESULT* result) override {
        if (msg != WM_COMMAND || HIWORD(wparam) != BN_CLICKED || !take_notifications)
            return false;
        ++reflected_clicks;
        *result = 0;
        return true;
    }
};

class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(IDD_TEST_DIALOG) {}

    std::vector<UINT> early_messages; // what the object saw before WM_INITDIALOG
    bool initialised = false;
    int commands_seen = 0;
    CCountingButton button;

protected:
    BOOL OnInitDialog() override {
        initialised = true;
        EXPECT_TRUE(button.SubclassDlgItem(IDC_TEST_BUTTON, this));
        return TRUE;
    }
    bool OnCommand(WPARAM wparam, LPARAM lparam) override {
        if (LOWORD(wparam) == IDC_TEST_BUTTON)
            ++commands_seen;
        return CDialog::OnCommand(wparam, lparam);
    }
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (!initialised)
            early_messages.push_back(msg);
        if (msg == kEndWithCode) {
            EndDialog(static_cast<INT_PTR>(wparam));
            return 0;
        }
        return CDialog::WindowProc(msg, wparam, lparam);
    }
};

TEST(Dialog, ModalDialogSeesItsWholeLifeAndEndsWithTheGivenCode) {
    struct CScripted : CTestDialog {
        BOOL OnInitDialog() override {
            CTestDialog::OnInitDialog();
            PostMessage(kEndWithCode, 42);
            return TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(dialog.initialised);
    ASSERT_FALSE(dialog.early_messages.empty());
    EXPECT_EQ(dialog.early_messages.front(), static_cast<UINT>(WM_NCCREATE))
        << "creation hook missed the window";
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "object still attached after its window ended";
}

TEST(Dialog, MissingTemplateFailsWithoutAWindow) {
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create(4242, nullptr));
}

TEST(Dialog, NotificationsAreReflectedToTheControlFirst) {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    HWND button = dialog.GetDlgItem(IDC_TEST_BUTTON);
    ASSERT_EQ(CWnd::FromHandle(button), &dialog.button);

    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.button.presses, 1);          // the control's own handler ran
    EXPECT_EQ(dialog.button.reflected_clicks, 1); // and it took its notification
    EXPECT_EQ(dialog.commands_seen, 0);           // so the parent never saw it

    dialog.button.take_notifications = false;
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.button.reflected_clicks, 1);
    EXPECT_EQ(dialog.commands_seen, 1); // declined: the parent's handler gets it
    dialog.DestroyWindow();
}

TEST(Dialog, ModelessTopLevelDialogHidesOnOk) {
    CDialog dialog(IDD_TEST_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    dialog.ShowWindow(SW_SHOWNA);
    dialog.SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(::IsWindowVisible(dialog.GetSafeHwnd()));
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHwnd()));
    dialog.DestroyWindow();
}

TEST(Dialog, EnterAndEscapeReachOkAndCancel) {
    struct CKeys : CDialog {
        CKeys() : CDialog(IDD_TEST_DIALOG) {}
        int ok = 0, cancel = 0;
        void OnOK() override { ++ok; }
        void OnCancel() override { ++cancel; }
    } dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    dialog.SendMessage(WM_COMMAND, IDOK);
    dialog.SendMessage(WM_COMMAND, IDCANCEL);
    dialog.SendMessage(WM_CLOSE); // the dialog manager turns a close into a posted IDCANCEL
    nvxtest::PumpMessages(100);
    EXPECT_EQ(dialog.ok, 1);
    EXPECT_EQ(dialog.cancel, 2);
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHwnd()));
    dialog.DestroyWindow();
}

TEST(Dialog, ChildDialogLivesInsideItsParent) {
    CTestDialog parent;
    ASSERT_TRUE(parent.Create(IDD_TEST_DIALOG, nullptr));
    struct CPage : CDialog {
        CPage() : CDialog(IDD_TEST_CHILD) {}
        int ok = 0;
        void OnOK() override {
            ++ok;
            CDialog::OnOK();
        }
    } child;
    ASSERT_TRUE(child.Create(IDD_TEST_CHILD, &parent));
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_TRUE(::GetWindowLongPtrW(child.GetSafeHwnd(), GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(child.GetExStyle() & WS_EX_CONTROLPARENT) << "Tab would not reach the page's controls";
    // A page's button with id IDOK (a finish button) does not make the page hide itself.
    parent.ShowWindow(SW_SHOWNA);
    child.ShowWindow(SW_SHOWNA);
    ::SendMessageW(child.GetDlgItem(IDOK), BM_CLICK, 0, 0);
    child.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(child.ok, 1);
    EXPECT_TRUE(::IsWindowVisible(child.GetSafeHwnd()));
    HWND child_window = child.GetSafeHwnd();
    parent.DestroyWindow(); // destroys the child window too
    EXPECT_FALSE(::IsWindow(child_window));
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}

TEST(Window, ExceptionsStopAtTheWindowProcedure) {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    EXPECT_EQ(::SendMessageW(dialog.GetDlgItem(IDC_TEST_BUTTON), kThrow, 0, 0), 0);
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHwnd()));
    dialog.DestroyWindow();
}

TEST(Window, PlainChildWindowAndLifetimes) {
    struct CProbe : CWnd {
        bool created = false;
        bool post_nc_destroy = false;
        LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
            if (msg == WM_CREATE)
                created = true;
            return CWnd::WindowProc(msg, wparam, lparam);
        }
        void PostNcDestroy() override { post_nc_destroy = true; }
    };
    CTestDialog parent;
    ASSERT_TRUE(parent.Create(IDD_TEST_DIALOG, nullptr));
    CProbe probe;
    ASSERT_TRUE(probe.Create(WS_CHILD, RECT{0, 0, 20, 20}, &parent, 77));
    EXPECT_TRUE(probe.created);
    EXPECT_EQ(::GetDlgItem(parent.GetSafeHwnd(), 77), probe.GetSafeHwnd());
    EXPECT_FALSE(probe.Create(WS_CHILD, RECT{0, 0, 1, 1}, &parent, 78)) << "one window per object";
    probe.DestroyWindow();
    EXPECT_TRUE(probe.post_nc_destroy);
    EXPECT_EQ(probe.GetSafeHwnd(), nullptr);

    // An object that goes first takes its window with it.
    HWND orphan = nullptr;
    {
        CProbe scoped;
        ASSERT_TRUE(scoped.Create(WS_CHILD, RECT{0, 0, 5, 5}, &parent, 79));
        orphan = scoped.GetSafeHwnd();
    }
    EXPECT_FALSE(::IsWindow(orphan));
    parent.DestroyWindow();
}

TEST(Window, UnsubclassGivesTheControlBack) {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    HWND button = dialog.button.UnsubclassWindow();
    EXPECT_EQ(CWnd::FromHandle(button), nullptr);
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.button.presses, 0);
    EXPECT_EQ(dialog.commands_seen, 1);
    dialog.DestroyWindow();
}

} // namespace
