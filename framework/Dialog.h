#pragma once
// Dialogs from templates, modal (DoModal) or as child windows (Create).
#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT template_id, CWnd* parent = nullptr) noexcept
        : template_id_(template_id), parent_(parent) {}

    // Runs the dialog modally; answers the EndDialog code, or -1 when the template cannot be used.
    INT_PTR DoModal();
    // Creates the dialog without a modal loop (a page inside another window, say).
    bool Create(UINT template_id, CWnd* parent);
    void EndDialog(INT_PTR result) noexcept;
    UINT GetTemplateId() const noexcept { return template_id_; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    bool OnCommand(WPARAM wparam, LPARAM lparam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

    UINT template_id_;
    CWnd* parent_;
    bool modal_ = false;
};

// The framework's name for the dialog base with a themed background; no difference here.
using CDialogEx = CDialog;
