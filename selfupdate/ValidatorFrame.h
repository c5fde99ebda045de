#pragma once
// STAND-IN FOR THE SKINNED DIALOG FRAME (CNVXDialog).
//
// The validator's frame calls go through this class until the skinned frame exists. It offers
// the same names the validator uses there: `show_caption_title`, `RepaintFrame`, disabling the
// caption buttons, and the `OnClientResized` hook called on every WM_SIZE. To switch, derive
// CClientValidator from CNVXDialog, replace DisableCaptionButtons() by setting `disabled` on
// its Close, Maximize and Minimize caption buttons, and delete this file.
#include "framework/Dialog.h"

class CValidatorFrame : public CDialog {
public:
    using CDialog::CDialog;

protected:
    // Paint the window icon and title in the caption (the system caption always does).
    int show_caption_title = 0;
    void RepaintFrame() noexcept {
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Close, Maximize and Minimize drawn dimmed; none of them acts.
    void DisableCaptionButtons() noexcept {
        HMENU menu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
        for (UINT command : {SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE})
            ::EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
    }
    virtual void OnClientResized(const RECT& /*client*/) {}

    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        LRESULT result = CDialog::WindowProc(msg, wparam, lparam);
        if (msg == WM_SIZE)
            OnClientResized(GetClientRect());
        return result;
    }
};
