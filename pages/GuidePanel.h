#pragma once
// The base of the wizard pages: a borderless child dialog stretched over the guide's client
// area. It paints the common background (theme colour and the logo at the top right) into an
// off-screen bitmap, hands size changes to the page's layout, keeps Enter and Escape inside the
// page, and declares the operations through which the guide drives its pages.
#include "framework/Dialog.h"
#include "pages/PageHost.h"

#include <string>

class CGuidePanel : public CDialog {
public:
    explicit CGuidePanel(UINT template_id) noexcept : CDialog(template_id) {}

    // Draws the page's own picture over the background, into the off-screen bitmap.
    virtual void DrawContent(HDC dc) { (void)dc; }
    // Places the controls in the client rectangle.
    virtual void LayoutControls(const RECT& client) { (void)client; }
    // The size the guide gives its window while this page is shown.
    virtual SIZE GetPageSize();
    // Just before the page is made visible, every time it is shown.
    virtual void OnShowPage() {}
    virtual void RefreshTexts() {}
    // Asked when the user closes the guide; FALSE keeps it open.
    virtual BOOL CanClose() { return TRUE; }

    // Asks the guide to show the page after the current one (nothing when there is none).
    void GoToNextPage();

    // The page size of every page unless it says otherwise: 660 x 446 at 96 DPI.
    static SIZE DefaultPageSize();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    void OnSize(UINT type, int cx, int cy) override;

    // The guide hosting this page, or null when the parent is something else.
    IPageHost* GetPageHost() const noexcept;
    // Widens `size` to the text drawn in font: cx becomes the text width, cy at least its
    // height. Nothing changes for an empty text or when nothing could be measured.
    void MeasureText(const std::wstring& text, HFONT font, SIZE& size) const;
    // The product icon (64 px at 96 DPI) centred with its top at `icon_top`, and below it the
    // title centred in the title font (nothing for an empty title).
    void DrawPageHeading(HDC dc, int icon_top, const std::wstring& title) const;
    // Removes the frame the templates carry (caption, sizing border, modal frame).
    void RemoveTemplateFrame() const noexcept;

private:
    void PaintBackground(HDC target);
};
