#pragma once
// The flat single-line edit of the settings page (the installation folder), attached to a
// bordered template edit whose border it removes. The first click into it selects the whole
// text, so that a new folder can be typed over the old one; a second click places the caret.
// It shows no context menu.
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "skin/GdiOwners.h"

class CNVXEdit : public CWnd {
public:
    CNVXEdit();

    COLORREF border_color = RGB(73, 90, 105);
    COLORREF focus_border_color = RGB(54, 138, 211);
    COLORREF background_color = RGB(20, 26, 32);
    COLORREF text_color = RGB(255, 255, 255);
    int input_mode = 0; // 2: any text (the only mode built)
    bool paste_allowed = true;

    // The owner calls this after changing background_color.
    void RecreateBackgroundBrush();
    bool is_active() const noexcept { return active_; }

    // Take over a template edit and recompute its frame without the border, once the frame
    // messages come here.
    bool SubclassWindow(HWND hwnd) noexcept;
    bool SubclassDlgItem(int control_id, CWnd* parent) noexcept;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    bool OnChildNotify(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    bool IsWritable() const noexcept;
    void OnNcCalcSize(NCCALCSIZE_PARAMS* sizes);
    void PaintFrame();
    void OnLButtonDown(UINT msg, WPARAM wparam, LPARAM lparam);
    bool OnControlKey(WPARAM key);
    void SetActive();
    void SelectAll();

    skin::Brush background_brush_;
    bool active_ = false;
};
