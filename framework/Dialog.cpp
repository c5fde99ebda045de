#include "framework/Dialog.h"

#include "framework/ExceptionGuard.h"
#include "framework/WindowCreationHook.h"

#include <cstring>

namespace {

// A copy of a dialog template, DWORD-aligned as the dialog functions want it, or nothing when
// the module has no such template.
std::vector<DWORD> LoadDialogTemplate(UINT template_id) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(template_id), RT_DIALOG);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    if (!data || size < sizeof(DLGTEMPLATE))
        return {};
    std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(copy.data(), data, size);
    return copy;
}

// The style word of a template: after version, signature, help id and extended style in an
// extended template, first in a plain one.
DWORD& TemplateStyle(std::vector<DWORD>& dialog_template) {
    auto* words = reinterpret_cast<WORD*>(dialog_template.data());
    bool extended = words[0] == 1 && words[1] == 0xFFFF;
    return dialog_template[extended ? 3 : 0];
}

// Modal dialogs are owned by a top-level window, whatever window the caller named.
HWND TopLevelOwner(CWnd* parent) noexcept {
    HWND owner = parent ? parent->GetSafeHwnd() : nullptr;
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

// Offers a message to PreTranslateMessage of its window and of each parent up to the top-level.
bool PreTranslateInTree(MSG& msg) {
    for (HWND hwnd = msg.hwnd; hwnd;) {
        CWnd* object = CWnd::FromHandle(hwnd);
        if (object && nvx::GuardedCall({"CWnd::PreTranslateMessage", msg.message},
                                       [&] { return object->PreTranslateMessage(&msg); }))
            return true;
        if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
            break;
        hwnd = ::GetParent(hwnd);
    }
    return false;
}

} // namespace

HWND CDialog::CreateFromTemplate(const std::vector<DWORD>& dialog_template, HWND parent) {
    HWND hwnd = nullptr;
    {
        CWindowCreationHook hook(this);
        hwnd = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                            reinterpret_cast<const DLGTEMPLATE*>(dialog_template.data()),
                                            parent, DialogProc, reinterpret_cast<LPARAM>(this));
    }
    if (!hwnd)
        Detach(); // creation refused after the hook attached the object
    return hwnd;
}

INT_PTR CDialog::DoModal() {
    std::vector<DWORD> dialog_template = LoadDialogTemplate(template_id_);
    if (dialog_template.empty() || GetSafeHwnd())
        return -1;
    // Shown by the loop below once OnInitDialog allowed it, never by the dialog manager.
    TemplateStyle(dialog_template) &= ~static_cast<DWORD>(WS_VISIBLE);
    HWND owner = TopLevelOwner(parent_);

    modal_ = true;
    initialising_ = true;
    hidden_by_init_ = ending_ = quit_ = false;
    result_ = -1;
    HWND hwnd = CreateFromTemplate(dialog_template, owner);
    initialising_ = false;
    if (!hwnd) {
        modal_ = false;
        return -1;
    }
    bool disabled_owner = owner && ::IsWindowEnabled(owner);
    if (disabled_owner)
        ::EnableWindow(owner, FALSE);
    if (!ending_ && !hidden_by_init_ && ::IsWindow(hwnd)) {
        ShowWindow(SW_SHOWNORMAL);
        // Painted whole, children included, before anything else is answered: queued WM_PAINTs
        // come last, after every message sent or posted meanwhile, so controls would otherwise
        // show up one by one, late.
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    RunModalLoop();

    // The owner is enabled before the dialog goes, so that it is the window activated next.
    if (disabled_owner)
        ::EnableWindow(owner, TRUE);
    if (::IsWindow(hwnd)) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::DestroyWindow(hwnd);
    }
    modal_ = false;
    if (quit_)
        ::PostQuitMessage(static_cast<int>(quit_code_));
    return result_;
}

void CDialog::RunModalLoop() {
    HWND hwnd = GetSafeHwnd();
    MSG msg;
    while (!ending_ && ::IsWindow(hwnd)) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            quit_ = true;
            quit_code_ = msg.wParam;
            result_ = -1;
            break;
        }
        if (PreTranslateInTree(msg) || ::IsDialogMessageW(hwnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool CDialog::Create(UINT template_id, CWnd* parent) {
    std::vector<DWORD> dialog_template = LoadDialogTemplate(template_id);
    if (dialog_template.empty() || GetSafeHwnd())
        return false;
    template_id_ = template_id;
    parent_ = parent;
    modal_ = false;
    HWND hwnd = CreateFromTemplate(dialog_template, parent ? parent->GetSafeHwnd() : nullptr);
    if (hwnd && (GetStyle() & WS_CHILD))
        ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result) noexcept {
    if (!GetSafeHwnd())
        return;
    if (modal_) {
        result_ = result;
        ending_ = true;
        // Wakes the loop when this was called from a message sent by another thread, which
        // GetMessage handles without returning.
        PostMessage(WM_NULL);
    } else if (!(GetStyle() & WS_CHILD)) {
        ShowWindow(SW_HIDE);
    }
}

BOOL CDialog::ShowWindow(int command) noexcept {
    if (initialising_)
        hidden_by_init_ = command == SW_HIDE;
    return CWnd::ShowWindow(command);
}

bool CDialog::OnCommand(WPARAM wparam, LPARAM) {
    switch (LOWORD(wparam)) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_NCDESTROY && modal_)
        ::PostMessageW(nullptr, WM_NULL, 0, 0); // the loop notices the window is gone
    return CWnd::WindowProc(msg, wparam, lparam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM lparam) {
    if (msg != WM_INITDIALOG)
        return FALSE;
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(hwnd));
    if (!dialog) {
        // The creation hook did not see the window (another hook swallowed it): attach now.
        dialog = reinterpret_cast<CDialog*>(lparam);
        dialog->SubclassWindow(hwnd);
    }
    return nvx::GuardedCall(
        "CDialog::OnInitDialog", [dialog] { return dialog->OnInitDialog(); }, TRUE);
}
