#pragma once
// The flat drop-down of the settings page, attached to a template combo box (CBS_DROPDOWN |
// CBS_OWNERDRAWFIXED | CBS_HASSTRINGS). The combo paints its closed state itself (box, chevron,
// the selected item's text), hides its edit part, colours its drop-down list and keeps that list
// on the monitor. Items, selection and notifications are the standard combo box's.
//
// How the parts talk: the edit part tells the combo when the mouse enters (WM_USER + 1) or
// leaves it (WM_USER + 2), the list when it is hidden (WM_USER + 3), so that the box's hot look
// follows the mouse across all three windows.
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "skin/PaintCache.h"

#include <memory>

inline constexpr UINT WM_COMBO_EDIT_MOUSE_ENTER = WM_USER + 1;
inline constexpr UINT WM_COMBO_EDIT_MOUSE_LEAVE = WM_USER + 2;
inline constexpr UINT WM_COMBO_LIST_HIDDEN = WM_USER + 3;

// The combo's own edit control: kept hidden, and while read-only it never keeps the focus from
// elsewhere, never shows a selection and hands its clicks to the combo.
class CNVXComboBox_Edit : public CWnd {
public:
    HWND combo = nullptr;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
    bool IsReadOnly() const noexcept { return (GetStyle() & ES_READONLY) != 0; }
    bool tracking_ = false;
};

// The drop-down list: an owner-drawn list in the combo's colours with a flat one-colour frame.
class CNVXComboBox_ListBox : public CWnd {
public:
    HWND combo = nullptr;
    const nvx::UniqueFont* font;
    COLORREF border_color = RGB(54, 138, 211);
    COLORREF text_color = RGB(206, 216, 223);
    COLORREF selected_text_color = RGB(206, 216, 223);
    COLORREF background_color = RGB(20, 26, 32);
    COLORREF selected_background_color = RGB(51, 60, 67);
    // The height the combo gives the list (0: whatever the system chooses).
    int list_height = 0;

    CNVXComboBox_ListBox();
    // Item draw requests reach the combo, which hands them on here.
    bool DrawItem(DRAWITEMSTRUCT* item) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
    void PaintFrame(HRGN update_region);

    CPaintCache canvas_; // one item at a time
};

class CNVXComboBox : public CWnd {
public:
    CNVXComboBox();

    const nvx::UniqueFont* font;
    COLORREF background_color = RGB(20, 26, 32);
    COLORREF arrow_background_color = RGB(20, 26, 32);
    COLORREF text_color = RGB(255, 255, 255);
    COLORREF border_color = RGB(73, 90, 105);
    COLORREF hot_border_color = RGB(54, 138, 211);

    CNVXComboBox_Edit& edit_part() noexcept { return edit_; }
    CNVXComboBox_ListBox& list() noexcept { return *list_; }
    bool is_hot() const noexcept { return hot_; }
    // Where clicks are redrawn: the chevron and its margins (empty until the first WM_SIZE).
    const RECT& arrow_rect() const noexcept { return arrow_rect_; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    bool OnChildNotify(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
    bool DrawItem(DRAWITEMSTRUCT* item) override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    void AttachParts();
    void OnPaint();
    void Paint(HDC dc, const RECT& client);
    void OnLButtonDown(POINT point);
    void SetDroppedWidth();
    void KeepListOnMonitor();
    void RedrawNow(const RECT* part = nullptr);
    bool EditPartIsReadOnly() const noexcept;
    bool CursorIsOverCombo() const noexcept;

    HBITMAP chevron_ = nullptr; // a strip of three frames side by side, owned by the image cache
    int chevron_strip_width_ = 0;
    int chevron_strip_height_ = 0;
    static constexpr int kChevronFrames = 3;
    int chevron_frame_width_ = 16;
    int chevron_frame_height_ = 16;
    RECT arrow_rect_{};
    bool hot_ = false;
    bool tracking_ = false;
    CNVXComboBox_Edit edit_;
    std::unique_ptr<CNVXComboBox_ListBox> list_;
    CPaintCache canvas_;
};
