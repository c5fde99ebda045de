#pragma once
// The first page: the product's icon and name, the Install button, the acceptance of the
// License Terms and a collapsible area with the installation folder. The choices go straight
// into the configuration the page was given, where the engine reads them.
#include "config/InstallConfig.h"
#include "config/LaunchOptions.h"
#include "localization/UIStrings.h"
#include "pages/GuidePanel.h"
#include "skin/NVXButton.h"
#include "skin/NVXComboBox.h"
#include "skin/NVXEdit.h"
#include "skin/NVXStatic.h"
#include "skin/NVXTextButton.h"

class CSettingPanel : public CGuidePanel {
public:
    CSettingPanel(CInstallConfig& config, const LaunchOptions& options);

    void DrawContent(HDC dc) override;
    void LayoutControls(const RECT& client) override;
    SIZE GetPageSize() override;
    void OnShowPage() override { RefreshTexts(); }
    void RefreshTexts() override;
    BOOL CanClose() override;

    // Checks the typed folder and creates what is missing of it; on success it becomes the
    // installation folder. Refuses while the terms are not accepted.
    [[nodiscard]] bool ValidateInstallFolder();
    void BrowseInstallFolder();
    void OnInstall();

    int terms_accepted = 1;
    int settings_collapsed = 0;
    POINT separator_start{0, 0};

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WPARAM wparam, LPARAM lparam) override;

private:
    void SetupControls();
    void SetupLabel(CNVXStatic& label, int id, const UIStringEntry& text, UINT flags);
    void FillLanguageList();
    void UpdateTermsCheckbox();
    void UpdateSettingsToggle();
    void ToggleSettings();
    void OpenTermsLink();
    std::wstring Text(const UIStringEntry& entry) const;

    CInstallConfig& config_;
    const LaunchOptions& options_;
    CNVXTextButton install_button_;
    CNVXButton terms_check_;
    CNVXStatic terms_label_;
    CNVXStatic terms_link_;
    CNVXStatic settings_caption_;
    CNVXButton settings_toggle_;
    CNVXStatic language_label_;
    CNVXComboBox language_list_;
    CNVXStatic association_label_;
    CNVXComboBox association_list_;
    CNVXStatic folder_label_;
    CNVXEdit folder_edit_;
    CNVXButton browse_button_;
};
