#include "pages/SettingPanel.h"

#include "config/ExitCodes.h"
#include "framework/Handles.h"
#include "framework/UserPrompt.h"
#include "localization/MessageText.h"
#include "localization/UIStrings.h"
#include "pages/ContentSelection.h"
#include "pages/FolderRules.h"
#include "pages/InstallFolderCheck.h"
#include "pages/ProductLaunch.h"
#include "resources/artwork.h"
#include "resources/resource.h"
#include "skin/ImageWrapper.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

namespace {
constexpr COLORREF kLinkColor = RGB(89, 134, 178);
constexpr COLORREF kSeparatorColor = 0x282828;
constexpr UINT kBottomLeft = DT_SINGLELINE | DT_WORDBREAK | DT_BOTTOM | DT_LEFT;     // 56
constexpr UINT kBottomRight = DT_SINGLELINE | DT_WORDBREAK | DT_BOTTOM | DT_RIGHT;   // 58
constexpr UINT kCentredRight = DT_SINGLELINE | DT_WORDBREAK | DT_VCENTER | DT_RIGHT; // 54

struct AssociationChoice {
    int value;
    const UIStringEntry* text;
};
const AssociationChoice kAssociationChoices[] = {
    {0, &ui::kFileAssociateAll}, {1, &ui::kFileAssociateUnused}, {2, &ui::kFileAssociateNone}};

void MoveControl(HWND control, int left, int top, int width, int height) {
    ::MoveWindow(control, left, top, width, height, TRUE);
}

RECT ControlRect(HWND control, HWND parent) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring EditText(HWND edit) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The nearest existing folder of a typed text, or nothing to preselect.
std::wstring BrowseStartFolder(const std::wstring& typed) {
    if (typed.empty() || typed.size() > kMaxBrowseStartLength)
        return {};
    std::wstring full(MAX_PATH * 2, L'\0');
    const DWORD length =
        ::GetFullPathNameW(typed.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return {};
    full.resize(length);
    std::wstring start = BrowseStartText(full);
    while (!::PathFileExistsW(start.c_str())) {
        const std::size_t cut = start.rfind(L'\\');
        if (cut == std::wstring::npos)
            break;
        start.resize(cut);
    }
    return start;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM param, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto* start = reinterpret_cast<const std::wstring*>(data);
        if (start && !start->empty())
            ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->c_str()));
    } else if (message == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH] = {};
        const BOOL has_path = ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(param), path);
        ::SendMessageW(dialog, BFFM_ENABLEOK, 0, has_path ? TRUE : FALSE);
    }
    return 0;
}

void SetComboHeights(CNVXComboBox& list, int item_height) {
    ::SendMessageW(list.GetSafeHwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item_height);
}

void AddComboItem(CNVXComboBox& list, const std::wstring& text, int item_height) {
    const LRESULT index =
        ::SendMessageW(list.GetSafeHwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0)
        ::SendMessageW(list.GetSafeHwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(index), item_height);
}

} // namespace

CSettingPanel::CSettingPanel(CInstallConfig& config, const LaunchOptions& options)
    : CGuidePanel(IDD_SETTINGS), config_(config), options_(options) {}

std::wstring CSettingPanel::Text(const UIStringEntry& entry) const {
    return config_.language.LookupUIString(entry);
}

BOOL CSettingPanel::OnInitDialog() {
    CGuidePanel::OnInitDialog();
    SetupControls();
    FillLanguageList();
    folder_edit_.SetWindowText(config_.install_folder);
    terms_accepted = IsConsentRegion() ? 0 : 1;
    UpdateTermsCheckbox();
    UpdateSettingsToggle();
    return FALSE;
}

void CSettingPanel::SetupLabel(CNVXStatic& label, int id, const UIStringEntry& text, UINT flags) {
    label.SubclassDlgItem(id, this);
    label.text = Text(text);
    label.SetWindowText(label.text);
    label.font = theThemeFonts.font_body.get();
    label.text_color = theThemePalette.label_text;
    label.background_color = theThemePalette.window_background;
    label.draw_flags = flags;
}

void CSettingPanel::SetupControls() {
    const ThemePalette& palette = theThemePalette;
    install_button_.SubclassDlgItem(IDC_INSTALL_BUTTON, this);
    install_button_.SetText(Text(ui::kInstall));

    terms_check_.SubclassDlgItem(IDC_TERMS_CHECK, this);
    settings_toggle_.SubclassDlgItem(IDC_SETTINGS_TOGGLE, this);
    for (CNVXButton* button : {&terms_check_, &settings_toggle_})
        button->SetAppearance(palette.window_background, palette.window_background, palette.window_background,
                              palette.window_background, L"");

    SetupLabel(terms_label_, IDC_TERMS_LABEL, ui::kAcceptLicenseTerms, kBottomLeft);
    SetupLabel(settings_caption_, IDC_SETTINGS_CAPTION, ui::kInstallSettings, kBottomRight);
    SetupLabel(language_label_, IDC_LANGUAGE_LABEL, ui::kSelectLang, kCentredRight);
    SetupLabel(association_label_, IDC_ASSOCIATION_LABEL, ui::kFileAssociation, kCentredRight);
    SetupLabel(folder_label_, IDC_FOLDER_LABEL, ui::kInstallFolder, kCentredRight);
    for (CNVXStatic* label : {&language_label_, &association_label_, &folder_label_})
        label->is_link = 1;
    language_label_.ShowWindow(SW_HIDE);
    association_label_.ShowWindow(SW_HIDE);

    SetupLabel(terms_link_, IDC_TERMS_LINK, ui::kLinkLicenseTerms, kBottomLeft);
    terms_link_.font = theThemeFonts.font_link.get();
    terms_link_.text_color = kLinkColor;
    terms_link_.is_link = 1;

    const int item_height = ScaleExactY(24);
    language_list_.SubclassDlgItem(IDC_LANGUAGE_COMBO, this);
    association_list_.SubclassDlgItem(IDC_ASSOCIATION_COMBO, this);
    for (CNVXComboBox* list : {&language_list_, &association_list_}) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (::GetComboBoxInfo(list->GetSafeHwnd(), &info) && info.hwndItem)
            ::SendMessageW(info.hwndItem, EM_SETREADONLY, TRUE, 0);
        list->background_color = palette.combo_background;
        list->arrow_background_color = palette.combo_arrow_background;
        list->font = &theThemeFonts.font_body;
        SetComboHeights(*list, item_height);
        list->ShowWindow(SW_HIDE);
    }
    for (const AssociationChoice& choice : kAssociationChoices)
        AddComboItem(association_list_, Text(*choice.text), item_height);
    int selected = 0;
    for (int i = 0; i < static_cast<int>(std::size(kAssociationChoices)); ++i)
        if (kAssociationChoices[i].value == config_.file_association)
            selected = i;
    ::SendMessageW(association_list_.GetSafeHwnd(), CB_SETCURSEL, static_cast<WPARAM>(selected), 0);

    folder_edit_.SubclassDlgItem(IDC_FOLDER_EDIT, this);
    folder_edit_.border_color = palette.combo_background;
    folder_edit_.background_color = palette.combo_background;
    folder_edit_.RecreateBackgroundBrush();
    folder_edit_.input_mode = 2;

    browse_button_.SubclassDlgItem(IDC_BROWSE_BUTTON, this);
    browse_button_.SetAppearance(palette.combo_arrow_background, palette.combo_arrow_background,
                                 palette.combo_arrow_background, palette.combo_arrow_background, L"...");
}

void CSettingPanel::FillLanguageList() {
    const int item_height = ScaleExactY(24);
    const auto languages = config_.GetLanguageList();
    int selected = 0;
    for (std::size_t i = 0; i < languages.size(); ++i) {
        AddComboItem(language_list_, languages[i].display_name, item_height);
        if (languages[i].lang_id == config_.language.language_id)
            selected = static_cast<int>(i);
    }
    ::SendMessageW(language_list_.GetSafeHwnd(), CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void CSettingPanel::RefreshTexts() {
    install_button_.SetText(Text(ui::kInstall));
    install_button_.Invalidate();
    const std::pair<CNVXStatic*, const UIStringEntry*> labels[] = {
        {&terms_label_, &ui::kAcceptLicenseTerms},
        {&terms_link_, &ui::kLinkLicenseTerms},
        {&settings_caption_, &ui::kInstallSettings},
        {&language_label_, &ui::kSelectLang},
        {&folder_label_, &ui::kInstallFolder}};
    for (const auto& [label, entry] : labels) {
        label->text = Text(*entry);
        label->SetWindowText(label->text);
        label->Invalidate();
    }
    LayoutControls(GetClientRect());
}

void CSettingPanel::UpdateTermsCheckbox() {
    terms_check_.SetImage(LoadPngResource(
        ScreenDpiScale().PickDpiVariant(terms_accepted ? IDB_CHECK_BOX_CHECKED : IDB_CHECK_BOX_UNCHECKED)));
    install_button_.SetEnabled(terms_accepted != 0);
    terms_check_.Invalidate();
    install_button_.Invalidate();
}

void CSettingPanel::UpdateSettingsToggle() {
    settings_toggle_.SetImage(LoadPngResource(
        ScreenDpiScale().PickDpiVariant(settings_collapsed ? IDB_CHEVRON_DOWN : IDB_CHEVRON_UP)));
    settings_toggle_.Invalidate();
}

void CSettingPanel::ToggleSettings() {
    settings_collapsed = settings_collapsed ? 0 : 1;
    if (IPageHost* host = GetPageHost())
        host->FitToCurrentPage();
    UpdateSettingsToggle();
}

SIZE CSettingPanel::GetPageSize() {
    SIZE size = DefaultPageSize();
    if (settings_collapsed)
        size.cy -= ScaleY(86);
    return size;
}

void CSettingPanel::OpenTermsLink() {
    const std::wstring link = config_.language.LookupLink(ui::kRlinkTerms);
    OpenWebAddress(link);
}

bool CSettingPanel::OnCommand(WPARAM wparam, LPARAM lparam) {
    const int id = LOWORD(wparam);
    const int code = HIWORD(wparam);
    switch (id) {
    case IDC_INSTALL_BUTTON:
        if (code == BN_CLICKED)
            OnInstall();
        return true;
    case IDC_TERMS_CHECK:
        if (code == BN_CLICKED) {
            terms_accepted = terms_accepted ? 0 : 1;
            UpdateTermsCheckbox();
        }
        return true;
    case IDC_TERMS_LINK:
        if (code == STN_CLICKED)
            OpenTermsLink();
        return true;
    case IDC_SETTINGS_CAPTION:
        if (code == STN_CLICKED)
            ToggleSettings();
        return true;
    case IDC_SETTINGS_TOGGLE:
        if (code == BN_CLICKED)
            ToggleSettings();
        return true;
    case IDC_BROWSE_BUTTON:
        if (code == BN_CLICKED)
            BrowseInstallFolder();
        return true;
    case IDC_LANGUAGE_COMBO:
        if (code == CBN_SELENDOK) {
            const auto languages = config_.GetLanguageList();
            const LRESULT selected = ::SendMessageW(language_list_.GetSafeHwnd(), CB_GETCURSEL, 0, 0);
            if (selected >= 0 && static_cast<std::size_t>(selected) < languages.size()) {
                config_.language.language_id = languages[static_cast<std::size_t>(selected)].lang_id;
                RefreshTexts();
            }
        }
        return true;
    case IDC_ASSOCIATION_COMBO:
        if (code == CBN_SELENDOK) {
            const LRESULT selected = ::SendMessageW(association_list_.GetSafeHwnd(), CB_GETCURSEL, 0, 0);
            if (selected >= 0 && selected < static_cast<LRESULT>(std::size(kAssociationChoices)))
                config_.file_association = kAssociationChoices[selected].value;
        }
        return true;
    default:
        return CGuidePanel::OnCommand(wparam, lparam);
    }
}

void CSettingPanel::OnInstall() {
    if (::IsWindowVisible(GetSafeHwnd()) && ValidateInstallFolder())
        GoToNextPage();
}

bool CSettingPanel::ValidateInstallFolder() {
    if (!terms_accepted)
        return false;
    const InstallFolderCheck check = CheckInstallFolder(EditText(folder_edit_.GetSafeHwnd()));
    if (check.accepted) {
        config_.install_folder = check.folder;
        return true;
    }
    ShowFolderRefused(GetSafeHwnd(), config_, check.folder);
    folder_edit_.SetWindowText(config_.install_folder);
    return false;
}

void CSettingPanel::BrowseInstallFolder() {
    const std::wstring start = BrowseStartFolder(EditText(folder_edit_.GetSafeHwnd()));
    const std::wstring title = Text(ui::kBrowseDestFolder);
    BROWSEINFOW info{};
    info.hwndOwner = GetSafeHwnd();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&start);
    PIDLIST_ABSOLUTE picked = ::SHBrowseForFolderW(&info);
    if (!picked)
        return;
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(picked, path)) {
        config_.install_folder = path;
        folder_edit_.SetWindowText(config_.install_folder);
    }
    ::CoTaskMemFree(picked);
}

BOOL CSettingPanel::CanClose() {
    const std::wstring text = Text(ui::kMessageCancelNotice);
    if (nvx::Prompt(GetSafeHwnd(), text, config_.manifest.short_name, MB_YESNO | MB_ICONWARNING) != IDYES)
        return FALSE;
    if (IPageHost* host = GetPageHost())
        host->ReportExitCode(kExitCancelled);
    return TRUE;
}

void CSettingPanel::DrawContent(HDC dc) {
    const RECT client = GetClientRect();
    DrawPageHeading(dc, client.top + ScaleX(48), config_.manifest.full_name);

    if (separator_start.x != 0 || separator_start.y != 0) {
        nvx::UniquePen pen(::CreatePen(PS_SOLID, 1, kSeparatorColor));
        HGDIOBJ previous = ::SelectObject(dc, pen.get());
        ::MoveToEx(dc, separator_start.x, separator_start.y, nullptr);
        ::LineTo(dc, client.right, separator_start.y);
        ::SelectObject(dc, previous);
    }
}

void CSettingPanel::LayoutControls(const RECT& client) {
    if (!install_button_.GetSafeHwnd() || !browse_button_.GetSafeHwnd())
        return;
    const HWND page = GetSafeHwnd();
    const int L = client.left, T = client.top, R = client.right, W = R - L;
    const int gap = ScaleX(4);
    HFONT body = theThemeFonts.font_body.get();
    HFONT link = theThemeFonts.font_link.get();

    MoveControl(install_button_, L + (W - ScaleX(300)) / 2, T + ScaleX(174), ScaleX(300), ScaleY(34));
    const int row_top = ControlRect(install_button_, page).bottom + ScaleX(16);

    SIZE terms_size{ScaleX(138), ScaleY(16)};
    MeasureText(terms_label_.text, body, terms_size);
    SIZE link_size{ScaleX(138), ScaleY(16)};
    MeasureText(terms_link_.text, link, link_size);
    const int row_left = L + (W - ScaleX(16) - link_size.cx - terms_size.cx - gap) / 2;
    MoveControl(terms_check_, row_left, row_top, ScaleX(16), ScaleY(16));
    const int label_left = row_left + ScaleX(16) + gap;
    MoveControl(terms_label_, label_left, row_top - ScaleY(1), terms_size.cx, terms_size.cy);
    const int link_left = label_left + terms_size.cx + ScaleX(4);
    MoveControl(terms_link_, link_left, row_top - ScaleY(1), R - link_left, terms_size.cy);

    SIZE caption_size{ScaleX(110), ScaleY(14)};
    MeasureText(settings_caption_.text, link, caption_size);
    const int toggle_left = R - (W - ScaleX(16) - caption_size.cx - gap) / 2 - ScaleX(16);
    const int toggle_top = row_top - ScaleY(1) + terms_size.cy + ScaleY(66);
    MoveControl(settings_toggle_, toggle_left, toggle_top, ScaleX(16), ScaleY(16));
    MoveControl(settings_caption_, L, toggle_top, toggle_left - gap - L, caption_size.cy);
    const int toggle_bottom = toggle_top + ScaleY(16);
    separator_start = POINT{L, toggle_bottom + ScaleY(12)};

    SIZE language_size{ScaleX(144), ScaleY(30)};
    MeasureText(language_label_.text, link, language_size);
    const int language_top = toggle_bottom + ScaleY(30);
    MoveControl(language_label_, L + ScaleX(68), language_top, language_size.cx, language_size.cy);
    const int language_list_left = L + ScaleX(68) + language_size.cx + gap;
    MoveControl(language_list_, language_list_left, language_top, R - ScaleX(68) - language_list_left,
                language_size.cy);

    SIZE association_size = language_size;
    MeasureText(association_label_.text, link, association_size);
    const int row = toggle_bottom + ScaleY(40);
    MoveControl(association_label_, L + ScaleX(68), row, association_size.cx, association_size.cy);
    const int field_left = L + ScaleX(68) + association_size.cx + gap;
    MoveControl(association_list_, field_left, row, R - ScaleX(68) - field_left, association_size.cy);
    MoveControl(folder_edit_, field_left, row, R - ScaleX(68) - ScaleY(24) - field_left, association_size.cy);
    MoveControl(browse_button_, R - ScaleX(68) - ScaleY(24), row, ScaleY(24), association_size.cy);
    SIZE folder_size{ScaleX(144), ScaleY(30)};
    MeasureText(folder_label_.text, link, folder_size);
    const int association_right = L + ScaleX(68) + association_size.cx;
    MoveControl(folder_label_, association_right - folder_size.cx, row, folder_size.cx, association_size.cy);
    Invalidate();
}
