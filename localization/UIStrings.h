#pragma once
// Every text the installer shows, named by its key and carrying its English default.
// Placeholders ("%s", "%02d") are filled by the caller after the lookup.

struct UIStringEntry {
    const wchar_t* key;
    const wchar_t* default_text;
};

namespace ui {
inline constexpr UIStringEntry kInstall{L"IDS_INSTALL", L"Install"};
inline constexpr UIStringEntry kStatusInit{L"IDS_STATUS_INIT", L"Initializing..."};
inline constexpr UIStringEntry kStatusCancelling{L"IDS_STATUS_CANCELLING", L"Cancelling..."};
inline constexpr UIStringEntry kStatusDownloading{L"IDS_STATUS_DOWNLOADING", L"Downloading, please wait..."};
inline constexpr UIStringEntry kStatusInstalling{L"IDS_STATUS_INSTALLING", L"Installing, please wait..."};
inline constexpr UIStringEntry kStatusFinished{L"IDS_STATUS_FINISHED", L"Finished."};
inline constexpr UIStringEntry kStatusInstallFailed{L"IDS_STATUS_INSTALL_FAILED", L"Install failed."};
inline constexpr UIStringEntry kStatusCancelled{L"IDS_STATUS_CANCELLED", L"Cancelled."};
inline constexpr UIStringEntry kProductReady{L"IDS_PRODUCT_READY", L"%s is ready"};
inline constexpr UIStringEntry kAcceptLicenseTerms{L"IDS_ACCEPT_LICENSE_TERMS", L"I accept the"};
inline constexpr UIStringEntry kLinkLicenseTerms{L"IDS_LINK_LICENSE_TERMS", L"License Terms"};
inline constexpr UIStringEntry kInstallSettings{L"IDS_INSTALL_SETTINGS", L"Installation settings"};
inline constexpr UIStringEntry kSelectLang{L"IDS_SELECT_LANG", L"Please select a language:"};
inline constexpr UIStringEntry kInstallFolder{L"IDS_INSTALL_FOLDER", L"Installation folder:"};
inline constexpr UIStringEntry kTextCancel{L"IDS_TEXT_CANCEL", L"Cancel"};
inline constexpr UIStringEntry kMessageCancelNotice{L"IDS_MESSAGE_CANCELNOTICE",
                                                    L"Are you sure you want to cancel the installation?"};
inline constexpr UIStringEntry kStartNow{L"IDS_START_NOW", L"Start Now"};
inline constexpr UIStringEntry kLaunchApp{L"IDS_LAUNCH_APP", L"Launch %s"};
inline constexpr UIStringEntry kBrowseDestFolder{L"IDS_BROWSE_DEST_FOLDER",
                                                 L"Browse to the destination folder."};
inline constexpr UIStringEntry kPreparing{L"IDS_PREPARING", L"Preparing..."};
inline constexpr UIStringEntry kCalcTimeRemaining{L"IDS_CALC_TIME_REMAINING",
                                                  L"Calculating time remaining..."};
inline constexpr UIStringEntry kTimeRemainingHours{L"IDS_TIME_REMAINING_HOURS",
                                                   L"%02d hours %02d mins %02d secs remaining..."};
inline constexpr UIStringEntry kTimeRemainingMins{L"IDS_TIME_REMAINING_MINS",
                                                  L"%02d mins %02d secs remaining..."};
inline constexpr UIStringEntry kTimeRemainingSecs{L"IDS_TIME_REMAINING_SECS", L"%02d secs remaining..."};
inline constexpr UIStringEntry kFileAssociation{L"IDS_FILE_ASSOCIATION", L"Associate with:"};
inline constexpr UIStringEntry kFileAssociateAll{L"IDS_FILE_ASSOCIATE_ALL",
                                                 L"All supported image file types"};
inline constexpr UIStringEntry kFileAssociateUnused{L"IDS_FILE_ASSOCIATE_UNUSED",
                                                    L"File types not currently used"};
inline constexpr UIStringEntry kFileAssociateNone{L"IDS_FILE_ASSOCIATE_NONE", L"None of any file types"};
inline constexpr UIStringEntry kErrCaption{L"IDS_ERR_CAPTION", L"Error"};
inline constexpr UIStringEntry kErrInstalledAlready{L"IDS_ERR_INSTALLED_ALREADY",
                                                    L"%s is already installed. Would you like to launch it?"};
inline constexpr UIStringEntry kErrClientTooOld{
    L"IDS_ERR_CLIENT_TOO_OLD",
    L"The version of your client is too old, please click \"OK\" to download the latest client."};
inline constexpr UIStringEntry kErrOutOfDisk{
    L"IDS_ERR_OUT_OF_DISK",
    L"The disk space required for the installation exceeds available disk space. Check that at least %s MB "
    L"of "
    L"disk space is available and try again. For more information, please contact Customer Care."};
inline constexpr UIStringEntry kErrConnectDownloadServer{
    L"IDS_ERR_CONNECT_DOWNLOAD_SERVER",
    L"Unable to contact the download server. Check your Internet connection and try again. If the issue "
    L"persists, please contact Customer Care."};
inline constexpr UIStringEntry kErrCreateFolderFailed{L"IDS_ERR_CREATE_FOLDER_FAILED",
                                                      L"The specified path %s is unavailable."};
inline constexpr UIStringEntry kErrFileRefused{
    L"IDS_ERR_FILE_REFUSED",
    L"The downloaded file %s is not the one the publisher released. It has been deleted and the installation "
    L"was stopped."};
inline constexpr UIStringEntry kCloseRunningApps{
    L"IDS_CLOSE_RUNNING_APPS",
    L"The following applications should be closed before continuing the installation:"};
// Links, looked up in the RLINK section. The host is a build-time setting.
extern const UIStringEntry kRlinkTerms;
extern const UIStringEntry kRlinkSlideShow;

// The whole table, for checks over every entry.
inline constexpr int kStringEntryCount = 38;
const UIStringEntry* const* AllEntries();
} // namespace ui
