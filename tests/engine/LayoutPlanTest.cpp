// The offline layout's plan: every file of every language, each in the place a standalone
// package reads it from, fetched once, with the whole bar for the downloads.
#include "engine/InstallProgress.h"
#include "engine/LayoutPlan.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(LayoutPlan, EveryFileOfEveryLanguageInTheStandalonePlaces) {
    ManifestInfo manifest;
    manifest.main_component_name = L"Lumetra.msi";
    manifest.main_component_url = L"http://h/msi/Lumetra.msi";
    manifest.main_component_sha256 = std::wstring(64, L'a'); // pins go along: the layout checks them
    manifest.dependencies = {{L"webview2.exe", L"http://h/w.exe", L"/silent /install"},
                             {L"bonjour.msi", L"http://h/b.msi", L"/qn"},
                             {L"webview2.exe", L"http://h/again.exe", L""}};
    manifest.transforms = {{1031, L"de.mst", L"http://h/de.mst"},
                           {1036, L"fr.mst", L"http://h/fr.mst"},
                           {1031, L"de2.mst", L"http://h/de2.mst"}};
    manifest.language_packs = {{1031, L"PDE", L"lp_de.exe", L"http://h/lp_de.exe"},
                               {1036, L"PFR", L"lp_fr.exe", L"http://h/lp_fr.exe"}};

    const InstallPlan plan = BuildLayoutPlan(manifest, LayoutFolders(L"D:\\Layout\\"));
    struct Expected {
        const wchar_t* url;
        const wchar_t* local_path;
        StepKind kind;
    } expected[] = {
        {L"http://h/w.exe", L"D:\\Layout\\component\\webview2.exe", StepKind::External},
        {L"http://h/b.msi", L"D:\\Layout\\component\\bonjour.msi", StepKind::External},
        {L"http://h/msi/Lumetra.msi", L"D:\\Layout\\msi\\Lumetra.msi", StepKind::Package},
        {L"http://h/de.mst", L"D:\\Layout\\transform\\1031.mst", StepKind::Transform},
        {L"http://h/fr.mst", L"D:\\Layout\\transform\\1036.mst", StepKind::Transform},
        {L"http://h/lp_de.exe", L"D:\\Layout\\component\\language_pack_1031.exe", StepKind::External},
        {L"http://h/lp_fr.exe", L"D:\\Layout\\component\\language_pack_1036.exe", StepKind::External},
    };
    ASSERT_EQ(plan.steps.size(), std::size(expected));
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(plan.steps[i].url, expected[i].url);
        EXPECT_EQ(plan.steps[i].local_path, expected[i].local_path);
        EXPECT_EQ(plan.steps[i].kind, expected[i].kind);
        EXPECT_EQ(plan.steps[i].download, 1u);
    }
    EXPECT_EQ(plan.steps[2].sha256, manifest.main_component_sha256);
    EXPECT_TRUE(plan.install_weights.empty());
    ASSERT_EQ(plan.download_weights.size(), plan.steps.size());
    EXPECT_EQ(std::accumulate(plan.download_weights.begin(), plan.download_weights.end(), 0u), 100u);
    EXPECT_GT(plan.download_weights[2], plan.download_weights[3]); // the package outweighs a transform
}

TEST(LayoutPlan, DownloadsFillTheWholeBarWhenNothingIsInstalled) {
    InstallProgress progress;
    progress.download_weights = {50, 50};
    progress.SetInstallState(InstallState::Downloading, 1, 50);
    EXPECT_FLOAT_EQ(OverallPercent(progress), 75.0f);
    progress.install_weights = {100};
    EXPECT_FLOAT_EQ(OverallPercent(progress), 37.5f);
}
