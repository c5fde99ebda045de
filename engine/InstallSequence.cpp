#include "engine/InstallSequence.h"

#include <algorithm>
#include <limits>

int32_t DownloadPercent(uint64_t received, uint64_t total) noexcept {
    if (total == 0)
        return 0;
    // A server that sends more than it announced must not wrap the figure around.
    uint64_t percent = received > std::numeric_limits<uint64_t>::max() / 100 ? received / total * 100
                                                                             : received * 100 / total;
    return static_cast<int32_t>(std::min<uint64_t>(percent, std::numeric_limits<int32_t>::max()));
}

void CInstallSequence::Run() {
    bool ok = false;
    switch (actions_.CheckServerVersion()) {
    case VersionCheckOutcome::Proceed:
        ok = DownloadAll() &&
             (mode_ == SequenceMode::Layout ? !cancel_requested_ && actions_.CompleteLayout() : InstallAll());
        break;
    case VersionCheckOutcome::DownloadFailed:
        download_failed_ = true;
        break;
    case VersionCheckOutcome::Refused:
        break;
    }

    if (ok) {
        if (mode_ == SequenceMode::Install) {
            actions_.WriteProductSettings();
            actions_.PublishHomepage();
        }
        if (progress_.State() != InstallState::Cancelling)
            progress_.SetInstallState(InstallState::Finished, -1, 0);
    } else if (progress_.State() != InstallState::Cancelling) {
        // A download cut short by the cancel is no connection problem.
        if (download_failed_ && !cancel_requested_)
            actions_.ShowDownloadFailure();
        progress_.SetInstallState(InstallState::Failed, -1, 0);
    }
    // A cancel that came after the last step still ends as Cancelled: the user asked for it,
    // although everything is in place by now.
    if (progress_.State() == InstallState::Cancelling)
        progress_.SetInstallState(InstallState::Cancelled, -1, 0);
}

void CInstallSequence::EndAfterFault() noexcept {
    if (progress_.State() == InstallState::Cancelling || cancel_requested_)
        progress_.SetInstallState(InstallState::Cancelled, -1, 0);
    else
        progress_.SetInstallState(InstallState::Failed, -1, 0);
}

bool CInstallSequence::DownloadAll() {
    int32_t downloaded = 0;
    for (const InstallStep& step : steps_) {
        if (cancel_requested_)
            return false;
        if (!step.download)
            continue;
        bool fetched = actions_.DownloadStep(step, [this, downloaded](uint64_t received, uint64_t total) {
            progress_.SetInstallState(InstallState::Downloading, downloaded,
                                      DownloadPercent(received, total));
        });
        if (!fetched) {
            download_failed_ = true;
            return false;
        }
        ++downloaded;
    }
    return true;
}

bool CInstallSequence::InstallAll() {
    install_index_ = 0;
    for (const InstallStep& step : steps_) {
        if (cancel_requested_)
            return false;
        if (!actions_.FileExists(step.local_path)) {
            // Without the product's own package nothing was installed: that is a failure, not
            // a step to skip. Any other missing file is skipped, and the next step takes its
            // index.
            if (step.kind == StepKind::Package) {
                main_package_missing_ = true;
                return false;
            }
            continue;
        }
        progress_.SetInstallState(InstallState::Installing, install_index_, 0);
        if (!actions_.CheckStepFile(step))
            return false;
        switch (step.kind) {
        case StepKind::Package:
            if (!actions_.InstallPackage(step, install_index_))
                return false;
            break;
        case StepKind::External:
            actions_.RunExternalInstaller(step);
            break;
        case StepKind::Transform:
            // Applied by the package's installation through TRANSFORMS.
            break;
        }
        progress_.SetInstallState(InstallState::Installing, install_index_, 100);
        ++install_index_;
    }
    return true;
}
