#include "framework/Dialog.h"

#include "framework/WindowCreationHook.h"

INT_PTR CDialog::DoModal() {
    modal_ = true;
    CWindowCreationHook hook(this);
    INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id_),
                                       parent_ ? parent_->GetSafeHwnd() : nullptr, DialogProc,
                                       reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool CDialog::Create(UINT template_id, CWnd* parent) {
    template_id_ = template_id;
    parent_ = parent;
    modal_ = false;
    CWindowCreationHook hook(this);
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id),
                                     parent ? parent->GetSafeHwnd() : nullptr, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result) noexcept {
    if (!GetSafeHwnd())
        return;
    if (modal_)
        ::EndDialog(GetSafeHwnd(), result);
    else
        ShowWindow(SW_HIDE);
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
    try {
        return dialog->OnInitDialog();
    } catch (...) {
        return TRUE;
    }
}
