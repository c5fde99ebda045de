#pragma once
// The gallery's layout drawn by the system's own controls: the peer of the paint benchmark. It
// copies what the skinned gallery shows (each control's place, text, selection, position and
// enabled state) into push buttons, statics, progress bars, picture statics, combo boxes and
// edits on plain dialogs with the system's frame.
#include "framework/Dialog.h"
#include "tests/gallery/GalleryDialog.h"

#include <memory>
#include <vector>

class CSystemGallery {
public:
    // Reads the skinned gallery; its windows may be destroyed afterwards.
    explicit CSystemGallery(const CGalleryDialog& skinned);
    ~CSystemGallery();
    CSystemGallery(const CSystemGallery&) = delete;
    CSystemGallery& operator=(const CSystemGallery&) = delete;

    // Makes the windows where the skinned ones were; false when the dialog could not be made.
    bool Create();
    void RepaintAll() const;
    // The system's statics that stand where the skinned labels are.
    const std::vector<HWND>& labels() const { return labels_; }

private:
    struct Control {
        enum class Kind { PushButton, Label, Progress, Picture, Combo, Edit } kind = Kind::Label;
        RECT rect{}; // client coordinates of the dialog
        std::wstring text;
        std::vector<std::wstring> items;
        int value = 0; // selection, progress position
        bool enabled = true;
        bool dropped = false;
        HFONT font = nullptr;
        HBITMAP picture = nullptr; // not owned
    };
    struct Frame {
        RECT rect; // screen
        std::wstring title;
    };

    std::vector<Control> controls_;
    std::vector<Frame> frame_specs_;
    RECT window_{};
    std::unique_ptr<CDialog> dialog_;
    std::vector<std::unique_ptr<CDialog>> frames_;
    struct Dropped {
        HWND combo;
        HWND list;
    };
    std::vector<Dropped> dropped_;
    std::vector<HWND> labels_;
};
