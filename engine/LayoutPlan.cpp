#include "engine/LayoutPlan.h"

#include "config/LocalPaths.h"
#include "engine/InstallProgress.h"
#include "engine/PackageProperties.h"
#include "framework/PathText.h"

#include <set>

LayoutFolders::LayoutFolders(const std::wstring& folder)
    : root(WithoutTrailingBackslash(folder)), config(root + L"\\config\\"), language(root + L"\\language\\"),
      component(root + L"\\component\\"), msi(root + L"\\msi\\"), transform(root + L"\\transform\\") {}

namespace {

class CLayoutPlanBuilder {
public:
    void Add(InstallStep step, uint32_t weight) {
        if (!paths_.insert(step.local_path).second)
            return;
        plan_.download_weights.push_back(weight);
        plan_.steps.push_back(std::move(step));
    }
    InstallPlan Finish() {
        NormalizeWeights(plan_.download_weights);
        return std::move(plan_);
    }

private:
    InstallPlan plan_;
    std::set<std::wstring> paths_;
};

} // namespace

InstallPlan BuildLayoutPlan(const ManifestInfo& manifest, const LayoutFolders& folders) {
    CLayoutPlanBuilder plan;
    for (const DependencyInfo& dependency : manifest.dependencies)
        plan.Add({dependency.name, dependency.full_url, folders.component + dependency.name,
                  dependency.install_commandline, 1, StepKind::External, dependency.sha256},
                 kPrerequisiteWeight);
    plan.Add({manifest.main_component_name, manifest.main_component_url,
              folders.msi + manifest.main_component_name, L"", 1, StepKind::Package,
              manifest.main_component_sha256},
             kMainPackageWeight);
    // The standalone package's own plan takes the first transform and pack of a language.
    for (const TransformInfo& transform : manifest.transforms)
        plan.Add({transform.name, transform.full_url, TransformFilePath(folders.transform, transform.lang_id),
                  L"", 1, StepKind::Transform, transform.sha256},
                 kTransformWeight);
    for (const LanguagePackInfo& pack : manifest.language_packs)
        plan.Add({pack.name, pack.full_url, folders.component + LanguagePackFileName(pack.lang_id), L"/s", 1,
                  StepKind::External, pack.sha256},
                 kLanguagePackWeight);
    return plan.Finish();
}
