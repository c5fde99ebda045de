#pragma once
// The installation plan: which steps run, in which order, and how much of the progress bar
// each one gets. Built from values only (the manifest, the choices made, what the machine
// answered), so that it can be checked from fixture manifests without touching a machine.
#include "config/ManifestInfo.h"
#include "engine/InstallChoices.h"
#include "engine/InstallStep.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PlanInputs {
    PlanInputs(const ManifestInfo& manifest, InstallChoices choices)
        : manifest(manifest), choices(std::move(choices)) {}

    const ManifestInfo& manifest;
    InstallChoices choices;
    std::wstring msi_folder;       // ends with a backslash
    std::wstring transform_folder; // ends with a backslash

    // True when the prerequisite of that file name is already on the machine.
    std::function<bool(const std::wstring& name)> is_prerequisite_installed;
    // Where a downloaded file of that name is stored.
    std::function<std::wstring(const std::wstring& name)> make_download_path;
    // Where a language pack's installer is stored.
    std::function<std::wstring(int32_t lang_id)> make_language_pack_path;
    // The language packs of the installed product, in registry order; asked only for an update.
    std::function<std::vector<int32_t>()> installed_language_packs;
};

struct InstallPlan {
    std::vector<InstallStep> steps;
    std::vector<uint32_t> download_weights; // normalised once the plan is complete
    std::vector<uint32_t> install_weights;
};

// Weights of each kind of step before normalisation.
inline constexpr uint32_t kPrerequisiteWeight = 40;
inline constexpr uint32_t kMainPackageWeight = 50;
inline constexpr uint32_t kTransformWeight = 5;
inline constexpr uint32_t kLanguagePackWeight = 5;

// Missing prerequisites in manifest order, the main package, the first transform of the chosen
// language, then the language packs: those of the installed product for an update, else the
// chosen language's when it is not English and a choice was offered.
[[nodiscard]] InstallPlan BuildInstallPlan(const PlanInputs& inputs);

// Appends the step of the first manifest language pack for `lang_id`; none when the manifest
// has no pack for it.
void AddLanguagePackStep(InstallPlan& plan, const PlanInputs& inputs, int32_t lang_id);
