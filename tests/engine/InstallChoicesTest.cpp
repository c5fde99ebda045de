// One value of the user's choices feeds the plan, the package's property string and the
// product's settings: the language rule must come out the same in all three.
#include "config/InstallConfig.h"
#include "engine/InstallChoices.h"
#include "engine/InstallPlan.h"
#include "engine/PackageProperties.h"
#include "engine/ProductSettings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

ManifestInfo ManifestWithPacks() {
    ManifestInfo manifest;
    manifest.main_component_name = L"product.msi";
    manifest.main_component_executable = L"Lumetra.exe";
    manifest.registry = L"SOFTWARE\\NVX Systems\\Lumetra";
    for (int32_t id : {1031, 1036, 1033})
        manifest.language_packs.push_back(
            LanguagePackInfo{id, L"", L"pack" + std::to_wstring(id), L"http://x/p"});
    return manifest;
}

bool PlanHasLanguagePack(const ManifestInfo& manifest, const InstallChoices& choices) {
    PlanInputs inputs{manifest, choices};
    inputs.is_prerequisite_installed = [](const std::wstring&) { return true; };
    inputs.make_download_path = [](const std::wstring& name) { return name; };
    inputs.make_language_pack_path = [](int32_t id) { return std::to_wstring(id); };
    inputs.installed_language_packs = [] { return std::vector<int32_t>{}; };
    const InstallPlan plan = BuildInstallPlan(inputs);
    return std::any_of(plan.steps.begin(), plan.steps.end(),
                       [](const InstallStep& step) { return step.name.starts_with(L"pack"); });
}

bool PropertiesNameTransform(const InstallChoices& choices) {
    PackagePropertyInputs inputs;
    inputs.choices = choices;
    inputs.transform_folder = L"C:\\t\\";
    inputs.transform_planned = true;
    return BuildPackageProperties(inputs).find(L"TRANSFORMS=") != std::wstring::npos;
}

bool SettingsRecordLanguage(const ManifestInfo& manifest, const InstallChoices& choices) {
    ProductSettingsInputs inputs{choices, manifest.main_component_executable, manifest.registry};
    const std::vector<SettingWrite> writes = PlanProductSettings(inputs);
    return std::any_of(writes.begin(), writes.end(),
                       [](const SettingWrite& write) { return write.value_name == L"InitialLangID"; });
}

} // namespace

TEST(InstallChoices, TheLanguageRuleIsTheSameForPlanPropertiesAndSettings) {
    struct Case {
        int32_t language_id;
        bool offered;
        bool uses_language;
    };
    const Case cases[] = {
        {1031, true, true},   // German chosen from several
        {1036, true, true},   // French chosen from several
        {1033, true, false},  // English is the package's own language
        {1031, false, false}, // German as the only language offered
        {1033, false, false},
    };
    const ManifestInfo manifest = ManifestWithPacks();
    for (const Case& c : cases) {
        InstallChoices choices;
        choices.language_id = c.language_id;
        choices.language_offered = c.offered;
        choices.install_folder = L"C:\\Program Files\\NVX Systems";
        SCOPED_TRACE(testing::Message() << c.language_id << (c.offered ? " offered" : " alone"));
        EXPECT_EQ(UsesChosenLanguage(choices), c.uses_language);
        EXPECT_EQ(PlanHasLanguagePack(manifest, choices), c.uses_language);
        EXPECT_EQ(PropertiesNameTransform(choices), c.uses_language);
        EXPECT_EQ(SettingsRecordLanguage(manifest, choices), c.uses_language);
    }
}

TEST(InstallChoices, AreTakenFromTheConfigurationAndTheLaunchFlags) {
    CInstallConfig config;
    config.language.language_id = 1036;
    config.language_choice_enabled = 0;
    config.install_folder = L"D:\\Apps\\Lumetra";
    config.file_association = 2;
    LaunchOptions options;
    options.product_installed = 1;
    const InstallChoices choices = ChoicesFrom(config, options);
    EXPECT_EQ(choices, (InstallChoices{1036, false, L"D:\\Apps\\Lumetra", 2, true}));
}
