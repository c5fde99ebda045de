#pragma once
// Dialogs from templates, modal (DoModal) or as child windows (Create).
//
// DoModal runs the framework's own modal loop instead of the system's, so that every message
// from the queue is offered to PreTranslateMessage of its window and that window's parents
// before the dialog manager (IsDialogMessage) and dispatching see it. The dialog is created
// hidden, shown once OnInitDialog has returned (unless OnInitDialog hid it: a dialog that must
// stay invisible is never shown, not even for a moment), and its owner is disabled meanwhile.
#include "framework/Wnd.h"

#include <vector>

class CDialog : public CWnd {
public:
    explicit CDialog(UINT template_id, CWnd* parent = nullptr) noexcept
        : template_id_(template_id), parent_(parent) {}

    // Runs the dialog modally; answers the EndDialog code, or -1 when the template cannot be
    // used or the thread was told to quit (WM_QUIT is posted again for the outer loop).
    INT_PTR DoModal();
    // Creates the dialog without a modal loop (a page inside another window, say). A child
    // dialog is a control parent, so that Tab moves between its controls and its parent's.
    bool Create(UINT template_id, CWnd* parent);
    // Ends a modal dialog with the code. A modeless top-level dialog hides; a child dialog
    // (a page) stays as it is, so that a button with id IDOK or IDCANCEL inside it is harmless.
    void EndDialog(INT_PTR result) noexcept;
    UINT GetTemplateId() const noexcept { return template_id_; }

    // Hiding from OnInitDialog keeps a modal dialog hidden.
    BOOL ShowWindow(int command) noexcept;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    bool OnCommand(WPARAM wparam, LPARAM lparam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    HWND CreateFromTemplate(const std::vector<DWORD>& dialog_template, HWND parent);
    void RunModalLoop();

    UINT template_id_;
    CWnd* parent_;
    bool modal_ = false;
    bool initialising_ = false;
    bool hidden_by_init_ = false;
    bool ending_ = false;
    bool quit_ = false;
    WPARAM quit_code_ = 0;
    INT_PTR result_ = -1;
};

// The framework's name for the dialog base with a themed background; no difference here.
using CDialogEx = CDialog;
