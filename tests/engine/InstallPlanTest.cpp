// Installation plans built from fixture manifests: which steps, in which order, with which
// files and weights, for the roads a user can take.
#include "config/InstallConfig.h"
#include "engine/InstallPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

ManifestInfo LoadManifest(const char* name) {
    CInstallConfig config;
    std::string path = std::string(NVX_TEST_DATA_DIR) + "/engine/" + name;
    config.manifest_path.assign(path.begin(), path.end());
    ManifestInfo manifest;
    EXPECT_TRUE(ParseManifest(config.manifest_path, manifest)) << name;
    return manifest;
}

const ManifestInfo& Downloaded() {
    static const ManifestInfo manifest = LoadManifest("manifestPlan.xml");
    return manifest;
}

const ManifestInfo& Standalone() {
    static const ManifestInfo manifest = LoadManifest("manifestPlanStandalone.xml");
    return manifest;
}

// Words of a text separated by blanks.
std::vector<std::wstring> Words(const wchar_t* text) {
    std::vector<std::wstring> words;
    std::wistringstream stream(text);
    for (std::wstring word; stream >> word;)
        words.push_back(word);
    return words;
}

std::vector<uint32_t> Numbers(const wchar_t* text) {
    std::vector<uint32_t> numbers;
    for (const std::wstring& word : Words(text))
        numbers.push_back(static_cast<uint32_t>(std::stoul(word)));
    return numbers;
}

enum RoadFlags { kNone = 0, kChoice = 1, kInstalled = 2 };

// A road through the plan in compact notation: the inputs, then the expected steps as
// "<kind letter>:<name>" words (P package, E external, T transform) and the two weight lists.
struct Road {
    const char* name;
    const ManifestInfo& manifest;
    int32_t language_id;
    int flags;
    const wchar_t* present;        // prerequisites the machine has
    const wchar_t* registry_packs; // language packs of the installed product, in registry order
    const wchar_t* steps;
    const wchar_t* download_weights;
    const wchar_t* install_weights;
};

PlanInputs InputsFor(const Road& road, int* registry_reads = nullptr) {
    InstallChoices choices;
    choices.language_id = road.language_id;
    choices.language_offered = (road.flags & kChoice) != 0;
    choices.product_installed = (road.flags & kInstalled) != 0;
    PlanInputs inputs{road.manifest, choices};
    inputs.msi_folder = L"C:\\inst\\msi\\";
    inputs.transform_folder = L"C:\\inst\\transform\\";
    inputs.is_prerequisite_installed = [present = Words(road.present)](const std::wstring& name) {
        return std::find(present.begin(), present.end(), name) != present.end();
    };
    inputs.make_download_path = [](const std::wstring& name) { return L"C:\\inst\\component\\42" + name; };
    inputs.make_language_pack_path = [](int32_t id) {
        return L"C:\\inst\\component\\42language_pack_" + std::to_wstring(id) + L".exe";
    };
    inputs.installed_language_packs = [&road, registry_reads] {
        if (registry_reads)
            ++*registry_reads;
        std::vector<int32_t> ids;
        for (uint32_t id : Numbers(road.registry_packs))
            ids.push_back(static_cast<int32_t>(id));
        return ids;
    };
    return inputs;
}

InstallPlan Plan(const Road& road, int* registry_reads = nullptr) {
    return BuildInstallPlan(InputsFor(road, registry_reads));
}

std::vector<std::wstring> Outline(const InstallPlan& plan) {
    std::vector<std::wstring> outline;
    for (const InstallStep& step : plan.steps) {
        const wchar_t* letter = step.kind == StepKind::Package    ? L"P:"
                                : step.kind == StepKind::External ? L"E:"
                                                                  : L"T:";
        outline.push_back(letter + step.name);
    }
    return outline;
}

} // namespace

TEST(InstallPlan, StepsAndWeightsFollowTheRoadTaken) {
    const wchar_t* both = L"vc_redist.exe webview2.exe";
    const Road roads[] = {
        {"first installation, German chosen from several, nothing present", Downloaded(), 1031, kChoice, L"",
         L"", L"E:vc_redist.exe E:webview2.exe P:Lumetra.msi T:de.mst E:language_pack_1031.exe",
         L"28 28 35 3 6", L"28 28 35 3 6"},
        {"German as the only language: its transform, no pack", Downloaded(), 1031, kNone, L"", L"",
         L"E:vc_redist.exe E:webview2.exe P:Lumetra.msi T:de.mst", L"29 29 37 5", L"29 29 37 5"},
        {"everything present, English, no installed product", Downloaded(), 1033, kChoice, both, L"",
         L"P:Lumetra.msi", L"100", L"100"},
        {"only the missing prerequisite", Downloaded(), 1033, kChoice, L"vc_redist.exe", L"",
         L"E:webview2.exe P:Lumetra.msi", L"44 56", L"44 56"},
        {"French: its transform and pack", Downloaded(), 1036, kChoice, both, L"",
         L"P:Lumetra.msi T:fr.mst E:language_pack_1036.exe", L"83 8 9", L"83 8 9"},
        {"a language without pack or transform", Downloaded(), 2052, kChoice, both, L"", L"P:Lumetra.msi",
         L"100", L"100"},
        {"update: the registry's packs in registry order, whatever was chosen", Downloaded(), 1031,
         kChoice | kInstalled, both, L"1036 1031 2052",
         L"P:Lumetra.msi T:de.mst E:language_pack_1036.exe E:language_pack_1031.exe", L"76 7 7 10",
         L"76 7 7 10"},
        {"update in English with no packs installed", Downloaded(), 1033, kChoice | kInstalled, both, L"",
         L"P:Lumetra.msi", L"100", L"100"},
        {"standalone: nothing downloaded", Standalone(), 1031, kChoice, L"", L"",
         L"E:vc_redist.exe E:webview2.exe P:Lumetra.msi T:de.mst E:language_pack_1031.exe", L"",
         L"28 28 35 3 6"},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        InstallPlan plan = Plan(road);
        EXPECT_EQ(Outline(plan), Words(road.steps));
        EXPECT_EQ(plan.download_weights, Numbers(road.download_weights));
        EXPECT_EQ(plan.install_weights, Numbers(road.install_weights));
        for (const InstallStep& step : plan.steps)
            EXPECT_EQ(step.download, road.manifest.standalone ? 0u : 1u) << step.name;
    }
}

TEST(InstallPlan, EachStepCarriesItsFileUrlAndCommandLine) {
    Road road{"German from several", Downloaded(), 1031, kChoice, L"webview2.exe", L"", L"", L"", L""};
    InstallPlan plan = Plan(road);
    const std::vector<InstallStep> expected = {
        {L"vc_redist.exe", L"http://127.0.0.1:8731/component/vc_redist.exe",
         L"C:\\inst\\component\\42vc_redist.exe", L"/install /quiet /norestart", 1, StepKind::External},
        {L"Lumetra.msi", L"http://127.0.0.1:8731/msi/Lumetra.msi", L"C:\\inst\\msi\\Lumetra.msi", L"", 1,
         StepKind::Package},
        // The transform is stored under the language id, the name the package's TRANSFORMS uses.
        {L"de.mst", L"http://127.0.0.1:8731/transform/de.mst", L"C:\\inst\\transform\\1031.mst", L"", 1,
         StepKind::Transform},
        {L"language_pack_1031.exe", L"http://127.0.0.1:8731/lp/language_pack_1031.exe",
         L"C:\\inst\\component\\42language_pack_1031.exe", L"/s", 1, StepKind::External},
    };
    EXPECT_EQ(plan.steps, expected);
}

TEST(InstallPlan, RegistryPacksAreAskedForOnlyOnAnUpdate) {
    Road first{"first", Downloaded(), 1031, kChoice, L"", L"1036", L"", L"", L""};
    Road update{"update", Downloaded(), 1031, kChoice | kInstalled, L"", L"1036", L"", L"", L""};
    int reads = 0;
    Plan(first, &reads);
    EXPECT_EQ(reads, 0);
    Plan(update, &reads);
    EXPECT_EQ(reads, 1);
}

TEST(InstallPlan, PrerequisitesAreAskedInManifestOrder) {
    Road road{"nothing present", Downloaded(), 1033, kNone, L"", L"", L"", L"", L""};
    PlanInputs inputs = InputsFor(road);
    std::vector<std::wstring> asked;
    inputs.is_prerequisite_installed = [&](const std::wstring& name) {
        asked.push_back(name);
        return false;
    };
    (void)BuildInstallPlan(inputs); // only the order of the questions counts here
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"vc_redist.exe", L"webview2.exe"}));
}
