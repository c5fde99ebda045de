#include "localization/UIStrings.h"

#ifndef NVX_LINK_HOST
#define NVX_LINK_HOST L"go.example.com"
#endif

namespace ui {

const UIStringEntry kRlinkTerms{L"IDS_RLINK_TERMS", L"https://" NVX_LINK_HOST L"/ApAiI"};
const UIStringEntry kRlinkSlideShow{L"IDS_RLINK_SLIDE_SHOW", L"https://" NVX_LINK_HOST L"/30eYL"};

const UIStringEntry* const* AllEntries() {
    static const UIStringEntry* const entries[kStringEntryCount] = {
        &kInstall,
        &kStatusInit,
        &kStatusCancelling,
        &kStatusDownloading,
        &kStatusInstalling,
        &kStatusFinished,
        &kStatusInstallFailed,
        &kStatusCancelled,
        &kProductReady,
        &kAcceptLicenseTerms,
        &kLinkLicenseTerms,
        &kInstallSettings,
        &kSelectLang,
        &kInstallFolder,
        &kTextCancel,
        &kMessageCancelNotice,
        &kStartNow,
        &kLaunchApp,
        &kBrowseDestFolder,
        &kPreparing,
        &kCalcTimeRemaining,
        &kTimeRemainingHours,
        &kTimeRemainingMins,
        &kTimeRemainingSecs,
        &kFileAssociation,
        &kFileAssociateAll,
        &kFileAssociateUnused,
        &kFileAssociateNone,
        &kErrCaption,
        &kErrInstalledAlready,
        &kErrClientTooOld,
        &kErrOutOfDisk,
        &kErrConnectDownloadServer,
        &kErrCreateFolderFailed,
        &kErrFileRefused,
        &kCloseRunningApps,
        &kRlinkTerms,
        &kRlinkSlideShow,
    };
    return entries;
}

} // namespace ui
