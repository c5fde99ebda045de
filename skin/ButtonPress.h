#pragma once
// The press-release rule the skinned buttons share: a press captures the mouse and marks the
// button pressed; the release frees the mouse and clicks only when it happens inside the button
// after a press on it. The click is posted to the parent as WM_COMMAND (BN_CLICKED).
#include <windows.h>

struct ButtonInteraction {
    int hover = 0;
    int pressed = 0;
    int captured = 0;
    int tracking = 0; // a leave (and hover) tracking request is active

    void Reset() { hover = pressed = captured = tracking = 0; }
    // WM_LBUTTONDOWN.
    void Press(HWND button);
    // WM_LBUTTONUP at `point` (client coordinates); posts the click when it is one. The capture
    // is given back first, which also tells the system's button code that its own press is
    // over, so that it does not send a second click.
    void Release(HWND button, POINT point);
    // Press (a double click counts as one), release and a capture taken away (no click then).
    // Answers whether the message was one of these; the button repaints then.
    bool OnMouseButton(HWND button, UINT msg, LPARAM lparam);
};

// A double click is handled as a second press (so two quick clicks are two clicks).
void TurnDoubleClickIntoPress(MSG* msg);
