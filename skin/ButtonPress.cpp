#include "skin/ButtonPress.h"

#include <windowsx.h>

void ButtonInteraction::Press(HWND button) {
    if (captured)
        return;
    captured = 1;
    ::SetCapture(button);
    pressed = 1;
}

void ButtonInteraction::Release(HWND button, POINT point) {
    if (!captured)
        return;
    captured = 0;
    ::ReleaseCapture();
    if (!pressed)
        return;
    pressed = 0;
    RECT client{};
    ::GetClientRect(button, &client);
    if (::PtInRect(&client, point)) {
        const int id = ::GetDlgCtrlID(button);
        ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
}

bool ButtonInteraction::OnMouseButton(HWND button, UINT msg, LPARAM lparam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press(button);
        return true;
    case WM_LBUTTONUP:
        Release(button, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        return true;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (or this one is going): the press ends without a click.
        if (reinterpret_cast<HWND>(lparam) != button && captured) {
            captured = pressed = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TurnDoubleClickIntoPress(MSG* msg) {
    if (msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
}
