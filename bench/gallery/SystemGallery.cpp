#include "bench/gallery/SystemGallery.h"

#include "skin/ThemeFonts.h"
#include "tests/gallery/GallerySlideshow.h"
#include "tests/gallery/gallery_resource.h"

#include <commctrl.h>

namespace {

std::wstring ComboItem(HWND combo, int index) {
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

RECT ChildRect(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

CSystemGallery::CSystemGallery(const CGalleryDialog& skinned) {
    const HWND gallery = skinned.GetSafeHwnd();
    window_ = skinned.GetWindowRect();
    const HFONT body = theThemeFonts.font_body.get();
    for (HWND child = ::GetWindow(gallery, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CWnd* object = CWnd::FromHandle(child);
        Control control;
        control.rect = ChildRect(gallery, child);
        control.text = object ? object->GetWindowText() : L"";
        control.enabled = ::IsWindowEnabled(child) != FALSE;
        control.font = body;
        if (auto* text_button = dynamic_cast<CNVXTextButton*>(object)) {
            control.kind = Control::Kind::PushButton;
            control.text = text_button->text();
            control.enabled = text_button->enabled();
        } else if (dynamic_cast<CNVXButton*>(object)) {
            control.kind = Control::Kind::PushButton;
        } else if (auto* label = dynamic_cast<CNVXStatic*>(object)) {
            control.text = label->text;
            if (label->font)
                control.font = label->font;
        } else if (auto* bar = dynamic_cast<CNVXProgress*>(object)) {
            control.kind = Control::Kind::Progress;
            control.value = bar->position;
        } else if (auto* show = dynamic_cast<CNVXSliderShowCtrl*>(object)) {
            control.kind = Control::Kind::Picture;
            if (!show->pictures.empty())
                control.picture = show->pictures.front().bitmap;
        } else if (auto* combo = dynamic_cast<CNVXComboBox*>(object)) {
            control.kind = Control::Kind::Combo;
            const int count = static_cast<int>(combo->SendMessage(CB_GETCOUNT));
            for (int i = 0; i < count; ++i)
                control.items.push_back(ComboItem(child, i));
            control.value = static_cast<int>(combo->SendMessage(CB_GETCURSEL));
            control.dropped = combo->SendMessage(CB_GETDROPPEDSTATE) != FALSE;
        } else if (dynamic_cast<CNVXEdit*>(object)) {
            control.kind = Control::Kind::Edit;
        } else {
            continue;
        }
        controls_.push_back(std::move(control));
    }
    for (const auto& frame : skinned.frames())
        frame_specs_.push_back({frame->GetWindowRect(), frame->GetWindowText()});
}

CSystemGallery::~CSystemGallery() {
    frames_.clear();
    if (dialog_ && dialog_->GetSafeHwnd())
        dialog_->DestroyWindow();
}

bool CSystemGallery::Create() {
    dialog_ = std::make_unique<CDialog>(IDD_GALLERY);
    if (!dialog_->Create(IDD_GALLERY, nullptr))
        return false;
    const HWND parent = dialog_->GetSafeHwnd();
    ::SetWindowPos(parent, nullptr, window_.left, window_.top, window_.right - window_.left,
                   window_.bottom - window_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    int id = 9500;
    for (const Control& c : controls_) {
        const wchar_t* window_class = L"Static";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD ex_style = 0;
        switch (c.kind) {
        case Control::Kind::PushButton:
            window_class = L"Button";
            style |= BS_PUSHBUTTON | WS_TABSTOP;
            break;
        case Control::Kind::Label:
            style |= SS_LEFT;
            break;
        case Control::Kind::Progress:
            window_class = PROGRESS_CLASSW;
            break;
        case Control::Kind::Picture:
            style |= SS_BITMAP | SS_CENTERIMAGE;
            break;
        case Control::Kind::Combo:
            window_class = L"ComboBox";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
            break;
        case Control::Kind::Edit:
            window_class = L"Edit";
            style |= ES_AUTOHSCROLL | WS_TABSTOP;
            ex_style = WS_EX_CLIENTEDGE;
            break;
        }
        const int height = c.kind == Control::Kind::Combo ? 200 : c.rect.bottom - c.rect.top;
        HWND hwnd = ::CreateWindowExW(ex_style, window_class, c.text.c_str(), style, c.rect.left, c.rect.top,
                                      c.rect.right - c.rect.left, height, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        if (!hwnd)
            continue;
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
        ::EnableWindow(hwnd, c.enabled);
        switch (c.kind) {
        case Control::Kind::Label:
            labels_.push_back(hwnd);
            break;
        case Control::Kind::Progress:
            ::SendMessageW(hwnd, PBM_SETRANGE32, 0, 1000);
            ::SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(c.value), 0);
            break;
        case Control::Kind::Picture:
            ::SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(c.picture));
            ::SetWindowPos(hwnd, nullptr, c.rect.left, c.rect.top, c.rect.right - c.rect.left,
                           c.rect.bottom - c.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case Control::Kind::Combo:
            for (const std::wstring& item : c.items)
                ::SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(c.value), 0);
            if (c.dropped) {
                COMBOBOXINFO info{};
                info.cbSize = sizeof(info);
                if (::GetComboBoxInfo(hwnd, &info))
                    dropped_.push_back({hwnd, info.hwndList});
            }
            break;
        default:
            break;
        }
    }
    dialog_->ShowWindow(SW_SHOWNOACTIVATE);
    for (const Frame& spec : frame_specs_) {
        auto frame = std::make_unique<CDialog>(IDD_GALLERY_FRAME);
        if (!frame->Create(IDD_GALLERY_FRAME, dialog_.get()))
            continue;
        frame->SetWindowText(spec.title);
        ::SetWindowPos(frame->GetSafeHwnd(), nullptr, spec.rect.left, spec.rect.top,
                       spec.rect.right - spec.rect.left, spec.rect.bottom - spec.rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        frame->ShowWindow(SW_SHOWNOACTIVATE);
        frames_.push_back(std::move(frame));
    }
    for (const Dropped& d : dropped_)
        ::SendMessageW(d.combo, CB_SHOWDROPDOWN, TRUE, 0);
    return true;
}

void CSystemGallery::RepaintAll() const {
    constexpr UINT kEverything = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    ::RedrawWindow(dialog_->GetSafeHwnd(), nullptr, nullptr, kEverything);
    for (const auto& frame : frames_)
        ::RedrawWindow(frame->GetSafeHwnd(), nullptr, nullptr, kEverything);
    for (const Dropped& d : dropped_)
        if (::IsWindowVisible(d.list))
            ::RedrawWindow(d.list, nullptr, nullptr, kEverything);
}
