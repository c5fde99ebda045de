#pragma once
// The control gallery: every skinned control in every state on a skinned dialog, and a column
// of small skinned frames showing the caption buttons in their states. States that the mouse
// would bring about (hover, pressed) are set directly, so that a screenshot shows them all at
// once; the mouse must stay away from the windows meanwhile.
#include "skin/GdiOwners.h"
#include "skin/NVXButton.h"
#include "skin/NVXComboBox.h"
#include "skin/NVXDialog.h"
#include "skin/NVXEdit.h"
#include "skin/NVXProgress.h"
#include "skin/NVXStatic.h"
#include "skin/NVXTextButton.h"

#include <memory>
#include <string>
#include <vector>

// One small frame with a caption in a given state.
class CGalleryFrame : public CNVXDialog {
public:
    enum class Look {
        Plain,
        MinimizeHover,
        MinimizePressed,
        CloseHover,
        ClosePressed,
        CloseDisabled,
        LongTitle
    };
    CGalleryFrame(Look look, std::wstring title);
    // Puts the caption buttons into the frame's state and repaints the frame.
    void ApplyLook();

private:
    Look look_;
    std::wstring title_;

protected:
    BOOL OnInitDialog() override;
};

class CGalleryDialog : public CNVXDialog {
public:
    CGalleryDialog();
    ~CGalleryDialog() override;

    // The gallery's windows (the dialog and its frames) cover this screen rectangle.
    RECT ScreenBounds() const;
    // Repaints every window of the gallery, frames and controls included, at once.
    void RepaintAll() const;
    // The caption frames (for tests).
    const std::vector<std::unique_ptr<CGalleryFrame>>& frames() const noexcept { return frames_; }

protected:
    BOOL OnInitDialog() override;

private:
    HWND MakeChild(const wchar_t* window_class, DWORD style, int x, int y, int width, int height,
                   DWORD ex_style = 0);
    CNVXStatic& AddLabel(const std::wstring& text, HFONT font, COLORREF color, UINT flags, int x, int y,
                         int width, int height);
    void AddSectionTitle(const std::wstring& text, int y);
    CNVXTextButton& AddTextButton(const std::wstring& text, int x, int y);
    CNVXButton& AddPictureButton(int x, int y, int width, int height);
    void AddTextButtons(int y);
    void AddPictureButtons(int y);
    void AddLabels(int y);
    // The progress bars, the slideshows, the combo boxes and edit fields; each answers the
    // height it used.
    int AddProgressControls(int y);
    int AddSlideshows(int y);
    int AddInputControls(int y);
    CNVXComboBox& AddCombo(int x, int y, int selected);
    CNVXEdit& AddEdit(int x, int y);
    void MakeFrames();

    std::vector<std::unique_ptr<CWnd>> controls_;
    std::vector<skin::Bitmap> slide_pictures_;
    CNVXComboBox* dropped_combo_ = nullptr;
    std::vector<std::unique_ptr<CGalleryFrame>> frames_;
    int next_id_ = 9200;
    HICON icon_ = nullptr;
};
