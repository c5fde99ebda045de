#include "tests/gallery/GalleryDialog.h"

#include "resources/artwork.h"
#include "resources/resource.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"
#include "tests/gallery/GallerySlideshow.h"
#include "tests/gallery/gallery_resource.h"

#include <iterator>

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

HWND CGalleryDialog::MakeChild(const wchar_t* window_class, DWORD style, int x, int y, int width, int height,
                               DWORD ex_style) {
    return ::CreateWindowExW(ex_style, window_class, L"", WS_CHILD | WS_VISIBLE | style, ScaleX(x), ScaleY(y),
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
    focused.focused = 1; // the keyboard focus is in the focused edit field below
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

int CGalleryDialog::AddProgressControls(int y) {
    AddSectionTitle(L"Progress bar: 0, 1, 250, 500, 990 and 1000 of 1000", y);
    const int positions[] = {0, 1, 250, 500, 990, 1000};
    constexpr int kRows = 3;
    constexpr int kColumn = (kClientWidth - 2 * kMargin) / 2;
    constexpr int kLabelWidth = 44;
    constexpr int kBarWidth = kColumn - kLabelWidth - 24;
    for (int i = 0; i < static_cast<int>(std::size(positions)); ++i) {
        const int x = kMargin + (i / kRows) * kColumn;
        const int row = y + 26 + (i % kRows) * 22;
        AddLabel(std::to_wstring(positions[i]), theThemeFonts.font_body.get(), theThemePalette.label_text,
                 DT_SINGLELINE | DT_VCENTER | DT_RIGHT, x, row, kLabelWidth, 18);
        // As the progress page sets it up: the window as high as the bar, the bar centred in it.
        auto bar = std::make_unique<CNVXProgress>();
        const RECT place{ScaleX(x + kLabelWidth + 10), ScaleY(row + 5),
                         ScaleX(x + kLabelWidth + 10 + kBarWidth), ScaleY(row + 5) + ScaleY(8)};
        if (!bar->Create(WS_CHILD | WS_VISIBLE, place, this, next_id_++))
            continue;
        bar->background_color = theThemePalette.window_background;
        bar->track_color = theThemePalette.progress_track;
        bar->fill_color = theThemePalette.progress_fill;
        bar->range = 1000;
        bar->position = positions[i];
        bar->bar_rect = RECT{0, 0, place.right - place.left, ScaleY(8)};
        controls_.push_back(std::move(bar));
    }
    return 26 + kRows * 22 + 12;
}

int CGalleryDialog::AddSlideshows(int y) {
    AddSectionTitle(L"Slideshow: a picture standing, and halfway through a slide", y);
    const HFONT font = theThemeFonts.font_title.get();
    const int picture_width = ScaleX(240);
    const int picture_height = ScaleY(96);
    slide_pictures_.push_back(DrawSlidePicture(picture_width, picture_height, RGB(7, 165, 216),
                                               RGB(10, 60, 110), L"Slide one", font));
    slide_pictures_.push_back(DrawSlidePicture(picture_width, picture_height, RGB(216, 120, 40),
                                               RGB(110, 30, 20), L"Slide two", font));
    const struct {
        double moment; // the first picture stands 7.5 s, then slides for 0.6 s
        const wchar_t* state;
    } shows[] = {{2.0, L"standing"}, {7.8, L"sliding"}};
    constexpr int kWidth = (kClientWidth - 3 * kMargin) / 2;
    int x = kMargin;
    for (const auto& s : shows) {
        auto show = std::make_unique<CStillSlideshow>();
        const RECT place{ScaleX(x), ScaleY(y + 26), ScaleX(x + kWidth), ScaleY(y + 26 + 110)};
        if (!show->Create(WS_CHILD | WS_VISIBLE, place, this, next_id_++))
            continue;
        show->Freeze();
        show->moment = s.moment;
        show->background_color = theThemePalette.combo_background; // shows the control's edges
        for (const skin::Bitmap& picture : slide_pictures_)
            show->pictures.push_back(SlidePicture{picture_width, picture_height, picture.get()});
        controls_.push_back(std::move(show));
        AddLabel(s.state, theThemeFonts.font_body.get(), theThemePalette.label_text,
                 DT_SINGLELINE | DT_VCENTER | DT_CENTER, x, y + 140, kWidth, 18);
        x += kWidth + kMargin;
    }
    return 26 + 110 + 4 + 18 + 12;
}

CNVXComboBox& CGalleryDialog::AddCombo(int x, int y, int selected) {
    auto combo = std::make_unique<CNVXComboBox>();
    // The settings page's template combo: a drop-down with an owner-drawn, read-only field.
    combo->SubclassWindow(
        MakeChild(L"ComboBox", WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                  x, y, 190, 120));
    const ThemePalette& palette = theThemePalette;
    combo->background_color = palette.combo_background;
    combo->arrow_background_color = palette.combo_arrow_background;
    combo->border_color = palette.combo_background;
    combo->font = &theThemeFonts.font_body;
    combo->list().font = &theThemeFonts.font_body;
    combo->edit_part().SendMessage(EM_SETREADONLY, TRUE);
    for (const wchar_t* item : {L"English", L"Deutsch", L"Fran\u00e7ais", L"Espa\u00f1ol", L"Italiano"})
        combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    combo->SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), ScaleExactY(24));
    combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(selected));
    ::SetWindowPos(*combo, nullptr, 0, 0, ScaleX(190), ScaleExactY(24) + 2, SWP_NOMOVE | SWP_NOZORDER);
    CNVXComboBox& added = *combo;
    controls_.push_back(std::move(combo));
    return added;
}

CNVXEdit& CGalleryDialog::AddEdit(int x, int y) {
    auto edit = std::make_unique<CNVXEdit>();
    // A template's bordered edit: the dialog manager turns WS_BORDER into a sunken client edge.
    edit->SubclassWindow(MakeChild(L"Edit", WS_TABSTOP | ES_AUTOHSCROLL, x, y, 190, 26, WS_EX_CLIENTEDGE));
    const ThemePalette& palette = theThemePalette;
    edit->border_color = palette.combo_background;
    edit->background_color = palette.combo_background;
    edit->RecreateBackgroundBrush();
    edit->input_mode = 2;
    edit->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(theThemeFonts.font_body.get()), TRUE);
    edit->SetWindowText(L"C:\\Program Files\\Lumetra");
    CNVXEdit& added = *edit;
    controls_.push_back(std::move(edit));
    return added;
}

int CGalleryDialog::AddInputControls(int y) {
    AddSectionTitle(L"Combo boxes: closed, hot, dropped; edit fields: normal, focused, disabled", y);
    constexpr int kColumn = 206;
    const HFONT body = theThemeFonts.font_body.get();
    const COLORREF text = theThemePalette.label_text;
    auto state = [&](const wchar_t* label, int x, int row) {
        AddLabel(label, body, text, DT_SINGLELINE | DT_VCENTER, x, row, 190, 18);
    };
    const int first = y + 26;
    const int second = first + 54;
    const int third = second + 54;

    AddCombo(kMargin, first, 2);
    state(L"closed", kMargin, first + 30);
    CNVXComboBox& hot = AddCombo(kMargin + kColumn, first, 1);
    hot.SendMessage(WM_COMBO_EDIT_MOUSE_ENTER); // as when the mouse is over it
    state(L"hot", kMargin + kColumn, first + 30);
    AddCombo(kMargin + 2 * kColumn, first, -1);
    state(L"nothing selected", kMargin + 2 * kColumn, first + 30);

    AddEdit(kMargin, second);
    state(L"normal", kMargin, second + 30);
    CNVXEdit& focused = AddEdit(kMargin + kColumn, second);
    // A click, as the user's first one: focus, the whole text selected, the active frame.
    focused.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ScaleX(20), ScaleY(10)));
    focused.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ScaleX(20), ScaleY(10)));
    state(L"focused", kMargin + kColumn, second + 30);
    CNVXEdit& disabled = AddEdit(kMargin, third);
    ::EnableWindow(disabled, FALSE);
    state(L"disabled", kMargin, third + 30);

    // Dropped last, with room below it for its list (seven items of 22 pixels).
    dropped_combo_ = &AddCombo(kMargin + 2 * kColumn, second, 0);
    const int below_list = second + 26 + 7 * 22 + 6;
    state(L"dropped", kMargin + 2 * kColumn, below_list);
    return below_list + 18 + kMargin - y;
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
    y += AddSlideshows(y);
    y += AddInputControls(y);
    SizeForClient(GetSafeHwnd(), ScaleX(8), ScaleY(8), ScaleX(kClientWidth), ScaleY(y));
    MakeFrames();
    RepaintFrame();
    // The list drops in screen coordinates: only once the gallery stands where it stays.
    if (dropped_combo_) {
        dropped_combo_->SendMessage(CB_SHOWDROPDOWN, TRUE);
        dropped_combo_->SendMessage(WM_COMBO_EDIT_MOUSE_ENTER);
    }
    return FALSE; // the focus stays where the gallery put it
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
    if (dropped_combo_ && ::IsWindowVisible(dropped_combo_->list()))
        ::RedrawWindow(dropped_combo_->list(), nullptr, nullptr, kEverything);
}
