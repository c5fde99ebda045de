#include "engine/InstallPlan.h"

#include "engine/InstallProgress.h"
#include "engine/PackageProperties.h"

namespace {

void AddStep(InstallPlan& plan, InstallStep step, uint32_t weight) {
    if (step.download)
        plan.download_weights.push_back(weight);
    plan.install_weights.push_back(weight);
    plan.steps.push_back(std::move(step));
}

} // namespace

void AddLanguagePackStep(InstallPlan& plan, const PlanInputs& inputs, int32_t lang_id) {
    for (const LanguagePackInfo& pack : inputs.manifest.language_packs) {
        if (pack.lang_id != lang_id)
            continue;
        AddStep(plan,
                {pack.name, pack.full_url, inputs.make_language_pack_path(lang_id), L"/s",
                 inputs.manifest.standalone ? 0u : 1u, StepKind::External, pack.sha256},
                kLanguagePackWeight);
        return;
    }
}

InstallPlan BuildInstallPlan(const PlanInputs& inputs) {
    const ManifestInfo& manifest = inputs.manifest;
    const uint32_t download = manifest.standalone ? 0 : 1;
    InstallPlan plan;

    for (const DependencyInfo& dependency : manifest.dependencies) {
        if (inputs.is_prerequisite_installed(dependency.name))
            continue;
        AddStep(plan,
                {dependency.name, dependency.full_url, inputs.make_download_path(dependency.name),
                 dependency.install_commandline, download, StepKind::External, dependency.sha256},
                kPrerequisiteWeight);
    }

    AddStep(plan,
            {manifest.main_component_name, manifest.main_component_url,
             inputs.msi_folder + manifest.main_component_name, L"", download, StepKind::Package,
             manifest.main_component_sha256},
            kMainPackageWeight);

    // Only the first transform of the language counts, whether or not a choice was offered.
    for (const TransformInfo& transform : manifest.transforms) {
        if (transform.lang_id != inputs.choices.language_id)
            continue;
        AddStep(plan,
                {transform.name, transform.full_url,
                 TransformFilePath(inputs.transform_folder, inputs.choices.language_id), L"", download,
                 StepKind::Transform, transform.sha256},
                kTransformWeight);
        break;
    }

    if (inputs.choices.product_installed) {
        for (int32_t lang_id : inputs.installed_language_packs())
            AddLanguagePackStep(plan, inputs, lang_id);
    } else if (UsesChosenLanguage(inputs.choices)) {
        AddLanguagePackStep(plan, inputs, inputs.choices.language_id);
    }

    NormalizeWeights(plan.download_weights);
    NormalizeWeights(plan.install_weights);
    return plan;
}
