#include "tests/gallery/GalleryDialog.h"

#include "resources/artwork.h"
#include "resources/resource.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"
#include "tests/gallery/gallery_resource.h"

namespace {

// The settings page's link colour.
constexpr COLORREF kLinkColor = RGB(89, 134, 178);
// Layout of the gallery at 96 DPI.
constexpr int kMargin = 16;
constexpr int kPitch = 124;     // text buttons, side by side
constexpr int kSmallPitch = 70; // picture buttons
constexpr int kClientWidth = 660;
constexpr int kFrameWidth = 280; // caption frames (window size)
constexpr int kFrameGap = 12;

// Places a window so that its client area has the given size.
void SizeForClient(HWND hwnd, int x, int y, int client_width, int client_height) {
    RECT window{};
    RECT client{};
    ::GetWindowRect(hwnd, &window);
    ::GetClientRect(hwnd, &client);
    const int frame_x = (window.right - window.left) - client.right;
    const int frame_y = (window.bottom - window.top) - client.bottom;
    ::SetWindowPos(hwnd, nullptr, x, y, client_width + frame_x, client_height + frame_y,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

CGalleryFrame::CGalleryFrame(Look look, std::wstring title)
    : CNVXDialog(IDD_GALLERY_FRAME), look_(look), title_(std::move(title)) {}

BOOL CGalleryFrame::OnInitDialog() {
    CNVXDialog::OnInitDialog();
    SetWindowText(title_);
    show_caption_title = 1;
    return TRUE;
}

void CGalleryFrame::ApplyLook() {
    if (caption_buttons.size() != kCaptionButtonCount)
        return;
    auto mark = [this](int id, bool pressed) {
        CaptionButton& button = caption_buttons[id];
        button.hot = 1;
        (pressed ? button.pressed : button.hover) = 1;
    };
    switch (look_) {
    case Look::MinimizeHover:
        mark(kCaptionMinimize, false);
        break;
    case Look::MinimizePressed:
        mark(kCaptionMinimize, true);
        break;
    case Look::CloseHover:
        mark(kCaptionClose, false);
        break;
    case Look::ClosePressed:
        mark(kCaptionClose, true);
        break;
    case Look::CloseDisabled:
        caption_buttons[kCaptionClose].disabled = 1;
        break;
    case Look::Plain:
    case Look::LongTitle:
        break;
    }
    RepaintFrame();
}

CGalleryDialog::CGalleryDialog() : CNVXDialog(IDD_GALLERY) {}

CGalleryDialog::~CGalleryDialog() {
    frames_.clear();
    if (GetSafeHwnd())
        DestroyWindow();
    if (icon_)
        ::DestroyIcon(icon_);
}

HWND CGalleryDialog::MakeChild(const wchar_t* window_class, DWORD style, int x, int y, int width,
                               int height) {
    return ::CreateWindowExW(0, window_class, L"", WS_CHILD | WS_VISIBLE | style, ScaleX(x), ScaleY(y),
                             ScaleX(width), ScaleY(height), GetSafeHwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(next_id_++)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

CNVXStatic& CGalleryDialog::AddLabel(const std::wstring& text, HFONT font, COLORREF color, UINT flags, int x,
                                     int y, int width, int height) {
    auto label = std::make_unique<CNVXStatic>();
    label->SubclassWindow(MakeChild(L"Static", SS_NOTIFY, x, y, width, height));
    label->text = text;
    label->SetWindowText(text);
    label->font = font;
    label->text_color = color;
    label->background_color = theThemePalette.window_background;
    label->draw_flags = flags;
    CNVXStatic& added = *label;
    controls_.push_back(std::move(label));
    return added;
}

void CGalleryDialog::AddSectionTitle(const std::wstring& text, int y) {
    AddLabel(text, theThemeFonts.font_body.get(), theThemePalette.caption_text, DT_SINGLELINE | DT_VCENTER,
             kMargin, y, kClientWidth - 2 * kMargin, 20);
}

CNVXTextButton& CGalleryDialog::AddTextButton(const std::wstring& text, int x, int y) {
    auto button = std::make_unique<CNVXTextButton>();
    button->SubclassWindow(MakeChild(L"Button", BS_OWNERDRAW | WS_TABSTOP, x, y, 110, 34));
    button->SetText(text);
    CNVXTextButton& added = *button;
    controls_.push_back(std::move(button));
    return added;
}

CNVXButton& CGalleryDialog::AddPictureButton(int x, int y, int width, int height) {
    auto button = std::make_unique<CNVXButton>();
    button->SubclassWindow(MakeChild(L"Button", WS_TABSTOP, x, y, width, height));
    CNVXButton& added = *button;
    controls_.push_back(std::move(button));
    return added;
}

void CGalleryDialog::AddTextButtons(int y) {
    AddSectionTitle(L"Action buttons: normal, hover, pressed, disabled, held under the mouse", y);
    const struct {
        const wchar_t* text;
        const wchar_t* state;
        int hover, pressed, enabled;
    } buttons[] = {
        {L"Install", L"normal", 0, 0, 1},
        {L"Install", L"hover", 1, 0, 1},
        {L"Install", L"pressed", 0, 1, 1},
        {L"Install", L"disabled", 0, 0, 0},
        {L"Start Now", L"hover + pressed", 1, 1, 1},
    };
    int x = kMargin;
    for (const auto& b : buttons) {
        CNVXTextButton& button = AddTextButton(b.text, x, y + 26);
        button.SetEnabled(b.enabled != 0);
        button.state.hover = b.hover;
        button.state.pressed = b.pressed;
        AddLabel(b.state, theThemeFonts.font_body.get(), theThemePalette.label_text,
                 DT_SINGLELINE | DT_VCENTER, x, y + 64, 116, 18);
        x += kPitch;
    }
}

void CGalleryDialog::AddPictureButtons(int y) {
    AddSectionTitle(L"Picture buttons: check boxes, expander, browse", y);
    const COLORREF background = theThemePalette.window_background;
    const COLORREF arrow = theThemePalette.combo_arrow_background;
    const COLORREF border = theThemePalette.label_text;
    const struct {
        int picture; // 0: the browse button's caption instead
        const wchar_t* state;
        int hover, pressed;
    } buttons[] = {
        {IDB_CHECK_BOX_CHECKED, L"on", 0, 0},
        {IDB_CHECK_BOX_UNCHECKED, L"off", 0, 0},
        {IDB_CHECK_BOX_CHECKED, L"hover", 1, 0},
        {IDB_CHECK_BOX_UNCHECKED, L"pressed", 0, 1},
        {IDB_CHEVRON_UP, L"expand", 0, 0},
        {IDB_CHEVRON_DOWN, L"hover", 1, 0},
        {0, L"browse", 0, 0},
        {0, L"hover", 1, 0},
        {0, L"pressed", 0, 1},
    };
    int x = kMargin;
    for (const auto& b : buttons) {
        if (b.picture) {
            CNVXButton& button = AddPictureButton(x + 12, y + 26, 24, 24);
            button.SetAppearance(background, background, background, border, L"");
            button.SetImage(LoadPngResource(PickDpiVariant(b.picture)));
            button.state.hover = b.hover;
            button.state.pressed = b.pressed;
        } else {
            CNVXButton& button = AddPictureButton(x + 6, y + 27, 36, 22);
            button.SetAppearance(arrow, arrow, arrow, arrow, L"...");
            button.state.hover = b.hover;
            button.state.pressed = b.pressed;
        }
        AddLabel(b.state, theThemeFonts.font_body.get(), theThemePalette.label_text,
                 DT_SINGLELINE | DT_VCENTER | DT_CENTER, x - 8, y + 54, kSmallPitch - 4, 18);
        x += kSmallPitch;
    }
}

void CGalleryDialog::AddLabels(int y) {
    AddSectionTitle(L"Labels and links", y);
    const HFONT body = theThemeFonts.font_body.get();
    const COLORREF text = theThemePalette.label_text;
    AddLabel(L"Installation folder", body, text, DT_SINGLELINE | DT_VCENTER, kMargin, y + 26, 200, 22);
    AddLabel(L"License Terms", theThemeFonts.font_link.get(), kLinkColor, DT_SINGLELINE | DT_VCENTER, 236,
             y + 26, 140, 22)
        .is_link = 1;
    CNVXStatic& focused = AddLabel(L"Privacy Statement", theThemeFonts.font_link.get(), kLinkColor,
                                   DT_SINGLELINE | DT_VCENTER | DT_CENTER, 396, y + 26, 170, 26);
    focused.is_link = 1;
    ::SetFocus(focused.GetSafeHwnd());
    AddLabel(L"Welcome", theThemeFonts.font_title.get(), theThemePalette.title_text,
             DT_SINGLELINE | DT_BOTTOM, kMargin, y + 56, 300, 44);
    AddLabel(L"A label in the fallback font", nullptr, text, DT_SINGLELINE | DT_BOTTOM, 336, y + 76, 300, 22);

    CNVXStatic& right = AddLabel(L"Right-aligned at the bottom", body, text,
                                 DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, kMargin, y + 110, 300, 44);
    right.background_color = theThemePalette.combo_background;
    CNVXStatic& wrapped =
        AddLabel(L"A longer label breaks its lines between words when it does not fit on one line.", body,
                 text, DT_WORDBREAK, 336, y + 110, 300, 44);
    wrapped.background_color = theThemePalette.combo_background;
}

int CGalleryDialog::AddProgressControls(int) {
    // CNVXProgress at 0, 500 and 1000 of 1000, and CNVXSliderShowCtrl with two slides, join here.
    return 0;
}

int CGalleryDialog::AddInputControls(int) {
    // CNVXComboBox closed, hot and dropped, and CNVXEdit normal, focused and read-only join here.
    return 0;
}

void CGalleryDialog::MakeFrames() {
    using Look = CGalleryFrame::Look;
    const struct {
        Look look;
        const wchar_t* title;
    } frames[] = {
        {Look::Plain, L"Caption title"},
        {Look::MinimizeHover, L"Minimize hover"},
        {Look::MinimizePressed, L"Minimize pressed"},
        {Look::CloseHover, L"Close hover"},
        {Look::ClosePressed, L"Close pressed"},
        {Look::CloseDisabled, L"Close disabled"},
        {Look::LongTitle, L"A window title far too long for its caption ends in an ellipsis"},
    };
    const RECT gallery = GetWindowRect();
    int y = gallery.top;
    for (const auto& f : frames) {
        auto frame = std::make_unique<CGalleryFrame>(f.look, f.title);
        if (!frame->Create(IDD_GALLERY_FRAME, this))
            continue;
        SizeForClient(frame->GetSafeHwnd(), gallery.right + ScaleX(kFrameGap), y,
                      ScaleX(kFrameWidth) - ScaleX(2), ScaleY(12));
        frame->ShowWindow(SW_SHOWNOACTIVATE);
        frame->ApplyLook();
        y = frame->GetWindowRect().bottom + ScaleY(kFrameGap);
        frames_.push_back(std::move(frame));
    }
}

BOOL CGalleryDialog::OnInitDialog() {
    CNVXDialog::OnInitDialog();
    icon_ = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                            MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                            ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    if (icon_)
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    show_caption_title = 1;

    int y = kMargin;
    AddTextButtons(y);
    y += 96;
    AddPictureButtons(y);
    y += 86;
    AddLabels(y);
    y += 164;
    y += AddProgressControls(y);
    y += AddInputControls(y);
    SizeForClient(GetSafeHwnd(), ScaleX(8), ScaleY(8), ScaleX(kClientWidth), ScaleY(y));
    MakeFrames();
    RepaintFrame();
    return FALSE; // the focus stays on the focused link
}

RECT CGalleryDialog::ScreenBounds() const {
    RECT bounds = GetWindowRect();
    for (const auto& frame : frames_) {
        const RECT r = frame->GetWindowRect();
        ::UnionRect(&bounds, &bounds, &r);
    }
    return bounds;
}

void CGalleryDialog::RepaintAll() const {
    constexpr UINT kEverything = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, kEverything);
    for (const auto& frame : frames_)
        ::RedrawWindow(frame->GetSafeHwnd(), nullptr, nullptr, kEverything);
}
