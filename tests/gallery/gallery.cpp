// The control gallery program (not part of the installer): shows every skinned control in every
// state. For screenshots it writes its windows' screen rectangle to the file after "/ready"
// once everything is painted, and ends when the file after "/quit" appears (or after a minute).
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"
#include "tests/gallery/GalleryDialog.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT_PTR kQuitPollTimer = 1;
constexpr DWORD kGiveUpMs = 60000;

class CScreenshotGallery : public CGalleryDialog {
public:
    CScreenshotGallery(std::wstring ready_file, std::wstring quit_file)
        : ready_file_(std::move(ready_file)), quit_file_(std::move(quit_file)) {}

protected:
    BOOL OnInitDialog() override {
        BOOL result = CGalleryDialog::OnInitDialog();
        started_ = ::GetTickCount();
        SetTimer(kQuitPollTimer, 100);
        return result;
    }
    void OnTimer(UINT_PTR timer_id) override {
        if (timer_id != kQuitPollTimer)
            return CGalleryDialog::OnTimer(timer_id);
        if (!ready_written_) {
            // The first tick comes after the windows have been shown and painted.
            RepaintAll();
            WriteReady();
            ready_written_ = true;
        }
        const bool quit =
            !quit_file_.empty() && ::GetFileAttributesW(quit_file_.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (quit || ::GetTickCount() - started_ > kGiveUpMs)
            EndDialog(IDOK);
    }

private:
    void WriteReady() const {
        if (ready_file_.empty())
            return;
        const RECT bounds = ScreenBounds();
        const std::wstring partial = ready_file_ + L".part";
        if (FILE* file = _wfopen(partial.c_str(), L"w")) {
            std::fprintf(file, "%ld %ld %ld %ld\n", bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top);
            std::fclose(file);
            ::MoveFileExW(partial.c_str(), ready_file_.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    }

    std::wstring ready_file_;
    std::wstring quit_file_;
    DWORD started_ = 0;
    bool ready_written_ = false;
};

std::wstring ArgumentAfter(const wchar_t* name) {
    for (int i = 1; i + 1 < __argc; ++i) {
        if (_wcsicmp(__wargv[i], name) == 0)
            return __wargv[i + 1];
    }
    return {};
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    InitThemePalette();
    CreateThemeFonts();
    // The mouse stays off the gallery, so the states it shows are the ones it set.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    int result = 0;
    {
        CScreenshotGallery gallery(ArgumentAfter(L"/ready"), ArgumentAfter(L"/quit"));
        result = gallery.DoModal() == IDOK ? 0 : 1;
    }
    DestroyThemeFonts();
    return result;
}
