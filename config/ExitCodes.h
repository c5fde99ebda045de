#pragma once
// The process exit codes: Windows Installer's own, so that deployment tools read them as they
// read msiexec's.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitCancelled = 1602;             // ERROR_INSTALL_USEREXIT
inline constexpr int kExitInstallFailure = 1603;        // ERROR_INSTALL_FAILURE
inline constexpr int kExitAnotherInstallRunning = 1618; // ERROR_INSTALL_ALREADY_RUNNING
inline constexpr int kExitRestartRequired = 3010;       // ERROR_SUCCESS_REBOOT_REQUIRED
