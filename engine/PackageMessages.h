#pragma once
// What the engine makes of Windows Installer's messages while the product's package installs:
// which kind gets which handling, the progress records turned into one percent that never
// goes down, and the product's home page picked out of the property dump. Plain C++: the
// message handler of the Windows layer feeds it text and answers what it says.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// How the handler treats a message kind (the type with its low 24 bits cleared).
enum class InstallerMessageHandling {
    MessageBox, // fatal exit, error, out of disk space: the installer's text in a box
    Info,       // the installer's log lines
    Progress,   // progress records
    AnswerOk,   // nothing to do; answer IDOK
    AnswerNone, // nothing to do; answer 0 (the installer decides)
};

InstallerMessageHandling ClassifyInstallerMessage(uint32_t message_type) noexcept;

// The text after "Property(S):" and "InstallHomepageURL =" (each marker in any letter case,
// white space around both ignored); nothing for any other text.
std::optional<std::wstring> HomepageFromInfoMessage(std::wstring_view text);

// Progress of one package after another. A range restarts at each reset, mapped onto what is
// left above the percent already reached; each report publishes the highest percent so far.
class CPackageProgress {
public:
    // Receives the percent after each step forward.
    using Publish = std::function<void(int32_t percent)>;

    explicit CPackageProgress(Publish publish) : publish_(std::move(publish)) {}

    // Before each package: a fresh range; the percent reached stays.
    void ResetForPackage() noexcept;

    // One progress record ("1: 2 2: 25 3: 0 4: 0 "). False when the record was not understood
    // (field 1 not a digit, an unknown field number): nothing changed and the caller answers
    // IDOK whatever else is going on.
    bool OnProgressRecord(std::wstring_view text);

    // The handler's answer to a progress record: IDCANCEL (2) while the installation is being
    // cancelled, IDOK (1) otherwise, and IDOK for a record not understood even then.
    int AnswerProgressRecord(std::wstring_view text, bool cancelling);

    // Moves the position by the last record's field 2 and publishes the new percent.
    void AdvanceProgress();

    int32_t max_percent() const noexcept { return max_percent_; }
    int32_t base_percent() const noexcept { return base_percent_; }
    int32_t total_ticks() const noexcept { return total_ticks_; }
    int32_t position() const noexcept { return position_; }
    bool forward() const noexcept { return forward_; }

private:
    bool ParseRecord(std::wstring_view text);

    Publish publish_;
    int32_t max_percent_ = 0; // kept across packages
    int32_t base_percent_ = 0;
    int32_t total_ticks_ = 0;
    bool forward_ = true;
    int32_t position_ = 0;
    int32_t progress_kind_ = -1;
    int32_t progress_value2_ = 0;
    int32_t progress_value3_ = 0;
};
